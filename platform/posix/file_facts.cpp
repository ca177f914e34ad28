#include "platform/file_facts.h"

#include <sys/stat.h>

namespace vimbrel {

std::optional<FileFacts> factsOf(int fd)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return FileFacts{uint64_t(info.st_dev), uint64_t(info.st_ino), uint64_t(info.st_size),
                     int64_t(info.st_mtim.tv_sec), uint32_t(info.st_mtim.tv_nsec)};
}

} // namespace vimbrel
