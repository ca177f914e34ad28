#pragma once

#include <sys/types.h>

namespace vimbrel::sys {

// The system calls through which the platform layer writes and renames files.
// Production code always uses the real calls; tests swap single entries with
// ScopedCalls to provoke a full disk, a refused rename and the like.
struct Calls
{
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*renameNoReplace)(const char* from, const char* to);
    int (*replace)(const char* from, const char* to); // rename(2): replaces `to`
    int (*link)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The table in force.
const Calls& calls();

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
