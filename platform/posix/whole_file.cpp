#include "platform/whole_file.h"

#include "platform/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

int openPlainFile(const std::string& path)
{
    // Non-blocking, so that a pipe standing under the name cannot hang the
    // open; only plain files are read, and then in blocking mode again.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::FILE* openPlainStream(const std::string& path)
{
    const int fd = openPlainFile(path);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

void closeFile(int fd)
{
    ::close(fd);
}

namespace file_reading {

uint64_t sizeOf(int fd)
{
    struct stat info = {};
    return ::fstat(fd, &info) == 0 && info.st_size > 0 ? uint64_t(info.st_size) : 0;
}

std::ptrdiff_t readSome(int fd, char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

std::ptrdiff_t readAt(int fd, uint64_t offset, char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, size, off_t(offset));
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool saysMissing(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

} // namespace file_reading
} // namespace vimbrel
