#pragma once

#include <cstdint>
#include <optional>

namespace vimbrel {

// What the viewer server tells of a file it sends: who it is (for the
// renditions' cache), how large, and when it last changed (for ETag and
// Last-Modified).
struct FileFacts
{
    uint64_t device = 0; // Windows: the volume serial number
    uint64_t inode = 0;  // Windows: the file index
    uint64_t size = 0;
    int64_t modifiedSeconds = 0; // since 1970, UTC
    uint32_t modifiedNanoseconds = 0;
};

// The facts of the file open as `fd` (a descriptor of whole_file.h's kind);
// nothing when the system cannot tell.
std::optional<FileFacts> factsOf(int fd);

} // namespace vimbrel
