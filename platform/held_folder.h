#pragma once

#include <optional>
#include <string>

namespace vimbrel {

// How HeldFolder::open() keeps a path inside its folder.
enum class BeneathMode
{
    // POSIX: openat2 with RESOLVE_BENEATH: the kernel follows links that stay
    // inside the folder and refuses every other; on a kernel without openat2
    // the walk below is used. Windows: the file is opened by its name in the
    // held folder without following a link at its end, and its final path
    // must lie below the folder's.
    Kernel,
    // POSIX: one component at a time with openat(O_NOFOLLOW): no link is
    // followed at all, which keeps the same guarantee with older kernels.
    // Windows: as Kernel.
    Walk,
};

// A folder held open while the files beneath it are handed out, so that
// replacing it by a link, or renaming it away, gains nothing: POSIX keeps a
// descriptor of it, Windows a handle that does not let it be renamed or
// deleted meanwhile.
class HeldFolder
{
public:
    // Holds the existing folder `path` (a full path); held() is false when
    // it cannot.
    explicit HeldFolder(const std::string& path);
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    bool held() const { return mHandle != kNone; }

    // The folder's full path with links resolved, ending in the separator.
    const std::string& resolved() const { return mResolved; }

    // Opens the plain file `relative` (names split by the separator, none
    // empty, "." or "..") beneath the folder for reading, without ever
    // waiting on a pipe or device, whatever renames or links appear
    // meanwhile. Returns a descriptor (as whole_file.h's), or -1 with
    // sys::lastError() set; leadsOut() tells the errors of a path that would
    // leave the folder.
    int open(const std::string& relative, BeneathMode mode) const;

private:
    static constexpr long long kNone = -1;
    long long mHandle = kNone; // POSIX: the descriptor; Windows: the HANDLE
    std::string mResolved;
};

// True for the errors of HeldFolder::open() that say its path would lead out
// of the folder (through a link or junction), after which the link's target
// may still lie inside another held folder.
bool leadsOut(int error);

// The full path `path` with every link resolved, or nothing when it does not
// exist.
std::optional<std::string> resolvedPath(const std::string& path);

} // namespace vimbrel
