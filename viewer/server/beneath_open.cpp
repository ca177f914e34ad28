#include "viewer/server/beneath_open.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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

int openBeneath(int folderFd, const std::string& relative, BeneathMode mode)
{
    if (relative.empty() || relative.front() == '/') {
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

} // namespace vimbrel
