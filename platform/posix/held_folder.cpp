#include "platform/held_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/file_system.h"

namespace vimbrel {
namespace {

constexpr int kFileFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Keeps only a plain file; anything else is closed and refused.
int plainFileOnly(int fd)
{
    if (fd < 0) {
        return -1;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

int openByWalking(int folderFd, const std::string& relative)
{
    int current = folderFd;
    size_t start = 0;
    for (;;) {
        const size_t slash = relative.find('/', start);
        const std::string part = relative.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") {
            if (current != folderFd) {
                ::close(current);
            }
            errno = EXDEV;
            return -1;
        }
        const bool last = slash == std::string::npos;
        const int next =
            last ? ::openat(current, part.c_str(), kFileFlags | O_NOFOLLOW)
                 : ::openat(current, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        if (current != folderFd) {
            ::close(current);
        }
        if (next < 0) {
            // O_NOFOLLOW on a link gives ELOOP (last part) or ENOTDIR.
            errno = error;
            return -1;
        }
        if (last) {
            return next;
        }
        current = next;
        start = slash + 1;
    }
}

} // namespace

HeldFolder::HeldFolder(const std::string& path)
{
    const std::optional<std::string> resolved = resolvedPath(path);
    if (!resolved) {
        return;
    }
    const int fd = ::open(resolved->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    mHandle = fd;
    mResolved = fs::withSeparator(*resolved);
}

HeldFolder::~HeldFolder()
{
    if (held()) {
        ::close(static_cast<int>(mHandle));
    }
}

int HeldFolder::open(const std::string& relative, BeneathMode mode) const
{
    const int folderFd = static_cast<int>(mHandle);
    if (!held() || relative.empty() || relative.front() == '/') {
        errno = EXDEV;
        return -1;
    }
    if (mode == BeneathMode::Kernel) {
        open_how how = {};
        how.flags = kFileFlags;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        const long fd = ::syscall(SYS_openat2, folderFd, relative.c_str(), &how, sizeof how);
        if (fd >= 0 || errno != ENOSYS) {
            return plainFileOnly(static_cast<int>(fd));
        }
    }
    return plainFileOnly(openByWalking(folderFd, relative));
}

bool leadsOut(int error)
{
    return error == EXDEV || error == ELOOP || error == ENOTDIR;
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

} // namespace vimbrel
