#pragma once

#include <cstddef>

namespace vimbrel::sys {

// How the seam opens a file for writing.
enum class OpenFor
{
    Replacing,       // created, or an old file of that name emptied
    ReplacingNoLink, // the same, but a symbolic link under the name is refused
    CreatingNew,     // created; an existing name of any kind is refused
    CreatingPrivate, // the same, readable by its owner alone (POSIX 0600)
};

// The system calls through which the platform layer writes and renames files.
// Paths are UTF-8. Each returns -1 (or a negative count) on failure, with the
// system's error number in lastError(). Production code always uses the real
// calls; tests swap single entries with ScopedCalls to provoke a full disk, a
// refused rename and the like.
struct Calls
{
    int (*open)(const char* path, OpenFor how); // a descriptor for write()
    std::ptrdiff_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*renameNoReplace)(const char* from, const char* to);
    int (*replace)(const char* from, const char* to); // replaces `to` in one step
    int (*link)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The table in force.
const Calls& calls();

// The error number of the last failed call on this thread: errno on POSIX,
// the Windows error code on Windows.
int lastError();
// Sets lastError() to `error` and returns -1, as a failing call does. For
// the stand-ins of tests.
int fail(int error);

// The error numbers that the tool tells apart, as this system spells them.
namespace error {
extern const int kExists;        // the name is taken
extern const int kMissing;       // no such file
extern const int kMissingFolder; // a folder on the way is missing
extern const int kDiskFull;
extern const int kAccessDenied;
extern const int kUnsupported; // the file system cannot do it this way
extern const int kBusy;
extern const int kIsFolder; // a folder where a file was asked for
extern const int kNotPlain; // a pipe, device or other non-file
extern const int kTooLarge; // more bytes than the caller takes
} // namespace error

// The number of this process, for names no other process uses.
unsigned long processId();

// Replaces the table for the lifetime of the object, restoring the previous
// one afterwards. Meant for tests only; not thread-safe.
class ScopedCalls
{
public:
    explicit ScopedCalls(const Calls& replacement);
    ~ScopedCalls();
    ScopedCalls(const ScopedCalls&) = delete;
    ScopedCalls& operator=(const ScopedCalls&) = delete;

    // The real system calls, to start a replacement table from.
    static Calls real();

private:
    Calls mPrevious;
};

} // namespace vimbrel::sys
