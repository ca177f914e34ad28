#include "platform/file_writer.h"

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/sys_calls.h"

namespace vimbrel {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Writes all of `bytes` to `fd`; returns 0 or the error number.
int writeAll(int fd, std::string_view bytes)
{
    const sys::Calls& calls = sys::calls();
    while (!bytes.empty()) {
        const std::ptrdiff_t written = calls.write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            return sys::lastError();
        }
        if (written == 0) {
            return sys::error::kDiskFull; // nothing more goes in
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

} // namespace

FileWriter::FileWriter(const std::string& path) : mPath(path)
{
    mFd = sys::calls().open(path.c_str(), sys::OpenFor::Replacing);
    if (mFd < 0) {
        fail(sys::lastError());
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
        fail(sys::lastError());
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
    const int fd = calls.open(temporary.c_str(), sys::OpenFor::Replacing);
    if (fd < 0) {
        return sys::lastError();
    }
    // The new file keeps the old one's permissions (a private file stays private).
    fs::copyPermissions(path, fd);
    int error = writeAll(fd, content);
    if (error == 0 && calls.fsync(fd) != 0) {
        error = sys::lastError();
    }
    if (calls.close(fd) != 0 && error == 0) {
        error = sys::lastError();
    }
    if (error == 0 && calls.replace(temporary.c_str(), path.c_str()) != 0) {
        error = sys::lastError();
    }
    if (error != 0) {
        calls.unlink(temporary.c_str());
    }
    return error;
}

} // namespace vimbrel
