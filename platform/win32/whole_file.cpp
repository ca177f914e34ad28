#include "platform/whole_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/file_reading.h"
#include "platform/sys_calls.h"
#include "platform/win32/wide_text.h"

namespace vimbrel {

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

namespace file_reading {

uint64_t sizeOf(int fd)
{
    LARGE_INTEGER size = {};
    return ::GetFileSizeEx(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &size) &&
                   size.QuadPart > 0
               ? uint64_t(size.QuadPart)
               : 0;
}

std::ptrdiff_t readSome(int fd, char* buffer, size_t size)
{
    DWORD got = 0;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : DWORD(size);
    if (!::ReadFile(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), buffer, chunk, &got, nullptr)) {
        return -1;
    }
    return std::ptrdiff_t(got);
}

std::ptrdiff_t readAt(int fd, uint64_t offset, char* buffer, size_t size)
{
    // A synchronous handle reads at the OVERLAPPED offset; it moves the
    // handle's position, which nothing else of the server uses.
    OVERLAPPED at = {};
    at.Offset = DWORD(offset & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD got = 0;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : DWORD(size);
    if (!::ReadFile(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), buffer, chunk, &got, &at)) {
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return std::ptrdiff_t(got);
}

bool saysMissing(int error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace file_reading
} // namespace vimbrel
