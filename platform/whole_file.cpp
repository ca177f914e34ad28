#include "platform/whole_file.h"

#include "platform/file_reading.h"
#include "platform/sys_calls.h"

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

WholeFile readWholeFile(const std::string& path, size_t maxBytes)
{
    const int fd = openPlainFile(path);
    if (fd < 0) {
        const int error = sys::lastError();
        return failure(file_reading::saysMissing(error) ? WholeFile::State::Missing
                                                        : WholeFile::State::Unreadable,
                       error);
    }
    const WholeFile result = readOpenFile(fd, maxBytes);
    closeFile(fd);
    return result;
}

WholeFile readOpenFile(int fd, size_t maxBytes)
{
    const uint64_t size = file_reading::sizeOf(fd);
    if (size > maxBytes) {
        return failure(WholeFile::State::Unreadable, sys::error::kTooLarge);
    }
    WholeFile result;
    result.state = WholeFile::State::Read;
    result.bytes.reserve(static_cast<size_t>(size));
    char buffer[64 * 1024];
    for (;;) {
        const std::ptrdiff_t got = file_reading::readSome(fd, buffer, sizeof buffer);
        if (got < 0) {
            return failure(WholeFile::State::Unreadable, sys::lastError());
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
        if (result.bytes.size() > maxBytes) {
            // The file grew while it was read.
            return failure(WholeFile::State::Unreadable, sys::error::kTooLarge);
        }
    }
    return result;
}

} // namespace vimbrel
