#include "platform/whole_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {
namespace {

WholeFile failure(WholeFile::State state, int errorNumber)
{
    WholeFile result;
    result.state = state;
    result.errorNumber = errorNumber;
    return result;
}

} // namespace

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

WholeFile readWholeFile(const std::string& path, size_t maxBytes)
{
    const int fd = openPlainFile(path);
    if (fd < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return failure(missing ? WholeFile::State::Missing : WholeFile::State::Unreadable, error);
    }
    const WholeFile result = readOpenFile(fd, maxBytes);
    ::close(fd);
    return result;
}

WholeFile readOpenFile(int fd, size_t maxBytes)
{
    struct stat info = {};
    ::fstat(fd, &info);
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return failure(WholeFile::State::Unreadable, EFBIG);
    }
    WholeFile result;
    result.state = WholeFile::State::Read;
    if (info.st_size > 0) {
        result.bytes.reserve(static_cast<size_t>(info.st_size));
    }
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(WholeFile::State::Unreadable, errno);
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
        if (result.bytes.size() > maxBytes) {
            // The file grew while it was read.
            return failure(WholeFile::State::Unreadable, EFBIG);
        }
    }
    return result;
}

} // namespace vimbrel
