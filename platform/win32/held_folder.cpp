#include "platform/held_folder.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "platform/win32/final_path.h"
#include "platform/win32/wide_text.h"

namespace vimbrel {
namespace {

// The error of a path that would lead out of its folder.
constexpr DWORD kLeadsOut = ERROR_NOT_SAME_DEVICE;

HANDLE handleOf(long long value)
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value));
}

int refuse(HANDLE file, DWORD error)
{
    ::CloseHandle(file);
    return sys::fail(int(error));
}

} // namespace

HeldFolder::HeldFolder(const std::string& path)
{
    // Without FILE_SHARE_DELETE nobody can rename or delete the folder, or
    // put something else in its place, while it is held.
    const HANDLE folder = ::CreateFileW(win32::systemPath(path).c_str(), FILE_LIST_DIRECTORY,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        return;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    const std::optional<std::string> resolved = win32::finalPathOf(folder);
    if (!::GetFileInformationByHandle(folder, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || !resolved) {
        ::CloseHandle(folder);
        return;
    }
    mHandle = static_cast<long long>(reinterpret_cast<intptr_t>(folder));
    mResolved = fs::withSeparator(*resolved);
}

HeldFolder::~HeldFolder()
{
    if (held()) {
        ::CloseHandle(handleOf(mHandle));
    }
}

int HeldFolder::open(const std::string& relative, BeneathMode) const
{
    if (!held() || relative.empty() || fs::isAbsolute(relative) || relative.front() == '\\' ||
        relative.front() == '/') {
        return sys::fail(int(kLeadsOut));
    }
    // The name itself, never what a link or junction at its end leads to.
    const HANDLE file = ::CreateFileW(
        win32::systemPath(mResolved + relative).c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag)) {
        return refuse(file, ::GetLastError());
    }
    if ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return refuse(file, kLeadsOut);
    }
    // Disk files only: no folder, pipe, console or device.
    if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        ::GetFileType(file) != FILE_TYPE_DISK) {
        return refuse(file, sys::error::kNotPlain);
    }
    // Where it really lies, after junctions on the way and short names: it
    // must be below the folder itself.
    const std::optional<std::string> final = win32::finalPathOf(file);
    if (!final || !fs::liesIn(*final, mResolved)) {
        return refuse(file, kLeadsOut);
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        return refuse(file, ERROR_TOO_MANY_OPEN_FILES);
    }
    return fd;
}

bool leadsOut(int error)
{
    return DWORD(error) == kLeadsOut;
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    const HANDLE file = ::CreateFileW(win32::systemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> final = win32::finalPathOf(file);
    ::CloseHandle(file);
    return final;
}

} // namespace vimbrel
