#include "platform/file_writer.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/sys_calls.h"

namespace vimbrel {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Writes all of `bytes` to `fd`; returns 0 or the error number.
int writeAll(int fd, std::string_view bytes)
{
    const sys::Calls& calls = sys::calls();
    while (!bytes.empty()) {
        const ssize_t written = calls.write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

} // namespace

FileWriter::FileWriter(const std::string& path) : mPath(path)
{
    mFd = sys::calls().open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (mFd < 0) {
        fail(errno);
    }
}

FileWriter::~FileWriter()
{
    if (mFd >= 0) {
        sys::calls().close(mFd);
    }
}

void FileWriter::write(std::string_view bytes)
{
    mBuffer.append(bytes);
    if (mBuffer.size() >= kBufferSize) {
        flush();
    }
}

void FileWriter::finish()
{
    flush();
    const int fd = mFd;
    mFd = -1;
    if (sys::calls().close(fd) != 0) {
        fail(errno);
    }
}

void FileWriter::flush()
{
    if (const int error = writeAll(mFd, mBuffer)) {
        mBuffer.clear();
        fail(error);
    }
    mBuffer.clear();
}

void FileWriter::fail(int errorNumber)
{
    if (mFd >= 0) {
        sys::calls().close(mFd);
        mFd = -1;
    }
    throw FileError(FileError::textFor(errorNumber), errorNumber);
}

int replaceFileAtomically(const std::string& path, std::string_view content)
{
    const sys::Calls& calls = sys::calls();
    const std::string temporary = path + ".new";
    const int fd = calls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return errno;
    }
    // The new file keeps the old one's permissions (a private 0600 file stays private).
    struct stat old
    {
    };
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    int error = writeAll(fd, content);
    if (error == 0 && calls.fsync(fd) != 0) {
        error = errno;
    }
    if (calls.close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && calls.replace(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        calls.unlink(temporary.c_str());
    }
    return error;
}

} // namespace vimbrel
