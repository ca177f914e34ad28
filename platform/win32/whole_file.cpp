#include "platform/whole_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/sys_calls.h"
#include "platform/win32/wide_text.h"

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
    const std::wstring name = win32::systemPath(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return sys::fail(sys::error::kIsFolder);
    }
    // Others may read and write the file meanwhile, and rename or delete it,
    // as they could on POSIX; the open handle keeps what it opened.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    // A pipe, a console or a device under the name is never read.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return sys::fail(sys::error::kNotPlain);
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(file);
        return sys::fail(ERROR_TOO_MANY_OPEN_FILES);
    }
    return fd;
}

std::FILE* openPlainStream(const std::string& path)
{
    const int fd = openPlainFile(path);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "rb");
    if (file == nullptr) {
        ::_close(fd);
    }
    return file;
}

void closeFile(int fd)
{
    ::_close(fd);
}

WholeFile readWholeFile(const std::string& path, size_t maxBytes)
{
    const int fd = openPlainFile(path);
    if (fd < 0) {
        const int error = sys::lastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return failure(missing ? WholeFile::State::Missing : WholeFile::State::Unreadable, error);
    }
    const WholeFile result = readOpenFile(fd, maxBytes);
    ::_close(fd);
    return result;
}

WholeFile readOpenFile(int fd, size_t maxBytes)
{
    const HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size)) {
        return failure(WholeFile::State::Unreadable, sys::lastError());
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return failure(WholeFile::State::Unreadable, sys::error::kTooLarge);
    }
    WholeFile result;
    result.state = WholeFile::State::Read;
    result.bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            return failure(WholeFile::State::Unreadable, sys::lastError());
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, got);
        if (result.bytes.size() > maxBytes) {
            // The file grew while it was read.
            return failure(WholeFile::State::Unreadable, sys::error::kTooLarge);
        }
    }
    return result;
}

} // namespace vimbrel
