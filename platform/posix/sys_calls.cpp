#include "platform/sys_calls.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vimbrel::sys {
namespace {

int realOpen(const char* path, OpenFor how)
{
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    switch (how) {
    case OpenFor::Replacing:
        flags |= O_TRUNC;
        break;
    case OpenFor::ReplacingNoLink:
        flags |= O_TRUNC | O_NOFOLLOW;
        break;
    case OpenFor::CreatingNew:
        flags |= O_EXCL;
        break;
    case OpenFor::CreatingPrivate:
        return ::open(path, flags | O_EXCL | O_NOFOLLOW, 0600);
    }
    return ::open(path, flags, 0644);
}

std::ptrdiff_t realWrite(int fd, const void* data, size_t size)
{
    for (;;) {
        const ssize_t written = ::write(fd, data, size);
        if (written >= 0 || errno != EINTR) {
            return written;
        }
    }
}

int realRenameNoReplace(const char* from, const char* to)
{
#ifdef SYS_renameat2
    // RENAME_NOREPLACE (1): the kernel refuses with EEXIST instead of replacing.
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 1U));
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

namespace error {
const int kExists = EEXIST;
const int kMissing = ENOENT;
const int kMissingFolder = ENOENT;
const int kDiskFull = ENOSPC;
const int kAccessDenied = EACCES;
const int kUnsupported = EINVAL;
const int kBusy = EBUSY;
const int kIsFolder = EISDIR;
const int kNotPlain = EINVAL;
const int kTooLarge = EFBIG;
} // namespace error

int lastError()
{
    return errno;
}

int fail(int error)
{
    errno = error;
    return -1;
}

unsigned long processId()
{
    return static_cast<unsigned long>(::getpid());
}

Calls ScopedCalls::real()
{
    return Calls{realOpen, realWrite, ::fsync, ::close, realRenameNoReplace,
                 ::rename, ::link,    ::unlink};
}

} // namespace vimbrel::sys
