#include "platform/sys_calls.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vimbrel::sys {
namespace {

int realOpen(const char* path, OpenFor how)
{
    DWORD disposition = CREATE_ALWAYS;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    switch (how) {
    case OpenFor::Replacing:
        break;
    case OpenFor::ReplacingNoLink:
        // The name itself is opened, never what a link under it leads to;
        // a link there is refused below.
        disposition = OPEN_ALWAYS;
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
        break;
    case OpenFor::CreatingNew:
    case OpenFor::CreatingPrivate: // the user's own folders keep others out
        disposition = CREATE_NEW;
        break;
    }
    const HANDLE file = ::CreateFileW(win32::systemPath(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, disposition, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // CREATE_NEW says "file exists" where a rename says "already exists";
        // a folder under the name is refused as "access denied", which
        // would blame the person's rights.
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS) {
            return fail(ERROR_ALREADY_EXISTS);
        }
        const DWORD attributes = ::GetFileAttributesW(win32::systemPath(path).c_str());
        if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return fail(error::kIsFolder);
        }
        return fail(int(error));
    }
    if (how == OpenFor::ReplacingNoLink) {
        FILE_ATTRIBUTE_TAG_INFO tag = {};
        if (::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) &&
            (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            ::CloseHandle(file);
            return fail(ERROR_CANT_ACCESS_FILE);
        }
        FILE_END_OF_FILE_INFO end = {};
        if (!::SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end)) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(file);
            return fail(int(error));
        }
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(file);
        return fail(ERROR_TOO_MANY_OPEN_FILES);
    }
    return fd;
}

HANDLE handleOf(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

std::ptrdiff_t realWrite(int fd, const void* data, size_t size)
{
    // One call writes at most what a DWORD counts.
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(handleOf(fd), data, chunk, &written, nullptr)) {
        return -1;
    }
    return static_cast<std::ptrdiff_t>(written);
}

int realFsync(int fd)
{
    return ::FlushFileBuffers(handleOf(fd)) ? 0 : -1;
}

int realClose(int fd)
{
    const HANDLE file = handleOf(fd);
    if (file == INVALID_HANDLE_VALUE) {
        return fail(ERROR_INVALID_HANDLE);
    }
    // _close closes the handle too, and says nothing of why it could not.
    return ::_close(fd) == 0 ? 0 : fail(ERROR_WRITE_FAULT);
}

int realRenameNoReplace(const char* from, const char* to)
{
    // Without MOVEFILE_REPLACE_EXISTING the system refuses an existing name.
    return ::MoveFileExW(win32::systemPath(from).c_str(), win32::systemPath(to).c_str(), 0) ? 0
                                                                                            : -1;
}

int realReplace(const char* from, const char* to)
{
    return ::MoveFileExW(win32::systemPath(from).c_str(), win32::systemPath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : -1;
}

int realLink(const char* from, const char* to)
{
    return ::CreateHardLinkW(win32::systemPath(to).c_str(), win32::systemPath(from).c_str(),
                             nullptr)
               ? 0
               : -1;
}

int realUnlink(const char* path)
{
    return ::DeleteFileW(win32::systemPath(path).c_str()) ? 0 : -1;
}

} // namespace

namespace error {
const int kExists = ERROR_ALREADY_EXISTS;
const int kMissing = ERROR_FILE_NOT_FOUND;
const int kMissingFolder = ERROR_PATH_NOT_FOUND;
const int kDiskFull = ERROR_DISK_FULL;
const int kAccessDenied = ERROR_ACCESS_DENIED;
const int kUnsupported = ERROR_NOT_SUPPORTED;
const int kBusy = ERROR_SHARING_VIOLATION;
const int kIsFolder = ERROR_DIRECTORY;
const int kNotPlain = ERROR_BAD_FILE_TYPE;
const int kTooLarge = ERROR_FILE_TOO_LARGE;
} // namespace error

int lastError()
{
    return static_cast<int>(::GetLastError());
}

int fail(int error)
{
    ::SetLastError(static_cast<DWORD>(error));
    return -1;
}

unsigned long processId()
{
    return ::GetCurrentProcessId();
}

Calls ScopedCalls::real()
{
    return Calls{realOpen,    realWrite, realFsync, realClose, realRenameNoReplace,
                 realReplace, realLink,  realUnlink};
}

} // namespace vimbrel::sys
