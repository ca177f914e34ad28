#include "platform/sys_calls.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vimbrel::sys {
namespace {

int realOpen(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
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

Calls gCalls = ScopedCalls::real();

} // namespace

const Calls& calls()
{
    return gCalls;
}

Calls ScopedCalls::real()
{
    return Calls{realOpen, ::write, ::fsync, ::close, realRenameNoReplace,
                 ::rename, ::link,  ::unlink};
}

ScopedCalls::ScopedCalls(const Calls& replacement) : mPrevious(gCalls)
{
    gCalls = replacement;
}

ScopedCalls::~ScopedCalls()
{
    gCalls = mPrevious;
}

} // namespace vimbrel::sys
