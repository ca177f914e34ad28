#pragma once

#include <string>

namespace vimbrel {

// How openBeneath() keeps a path inside its folder.
enum class BeneathMode
{
    // openat2 with RESOLVE_BENEATH: the kernel follows links that stay
    // inside the folder and refuses every other (EXDEV, ELOOP); on a kernel
    // without openat2 the walk below is used.
    Kernel,
    // One component at a time with openat(O_NOFOLLOW): no link is followed
    // at all, which keeps the same guarantee with older kernels.
    Walk,
};

// Opens the plain file `relative` (no leading "/") beneath the folder open
// as `folderFd`, for reading, without ever waiting on a pipe or device
// (O_NONBLOCK) and without taking a terminal. Whatever renames or links
// appear meanwhile, the file opened lies beneath that folder. Returns the
// descriptor, or -1 with errno set: EXDEV or ELOOP for a path that would
// lead out, EINVAL for what is no plain file.
int openBeneath(int folderFd, const std::string& relative, BeneathMode mode = BeneathMode::Kernel);

} // namespace vimbrel
