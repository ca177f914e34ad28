#include "platform/file_system.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <system_error>

#include "platform/byte_text.h"
#include "platform/sys_calls.h"
#include "platform/win32/final_path.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::fs {
namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD attributesOf(const std::string& path)
{
    return path.empty() ? kNoAttributes : ::GetFileAttributesW(win32::systemPath(path).c_str());
}

// Closes a handle when it goes.
struct Handle
{
    HANDLE value;
    explicit Handle(HANDLE h) : value(h) {}
    ~Handle()
    {
        if (value != INVALID_HANDLE_VALUE) {
            ::CloseHandle(value);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return value != INVALID_HANDLE_VALUE; }
};

// Opens the name itself for reading its information only (folders too);
// a link is followed unless `ownEntry`.
HANDLE openForInformation(const std::string& path, bool ownEntry)
{
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
    if (ownEntry) {
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    return ::CreateFileW(win32::systemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

const char kSeparator = '\\';
const std::string_view kSeparators = "\\/";
const bool kNamesIgnoreCase = true;

bool readFolder(const std::string& folder, std::vector<DirEntry>& entries, Detail)
{
    WIN32_FIND_DATAW found;
    // Basic information (no 8.3 names) fetched in large blocks: a folder of
    // thousands of pictures is listed in few calls.
    const HANDLE search =
        ::FindFirstFileExW(win32::systemPath(withSeparator(folder) + "*").c_str(), FindExInfoBasic,
                           &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty folder still has "." and ".."; only a drive root can have
        // nothing at all, and then says so.
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        DirEntry entry;
        entry.name = win32::narrow(name);
        const DWORD attributes = found.dwFileAttributes;
        entry.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entry.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

bool hasVisibleSubfolder(const std::string& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW(win32::systemPath(withSeparator(folder) + "*").c_str(), FindExInfoBasic,
                           &found, FindExSearchLimitToDirectories, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool any = false;
    do {
        const std::wstring_view name = found.cFileName;
        const DWORD attributes = found.dwFileAttributes;
        any = name != L"." && name != L".." && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
              (attributes & FILE_ATTRIBUTE_HIDDEN) == 0;
    } while (!any && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return any;
}

bool isDirectory(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
}

bool isReadOnlyFile(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool createFolders(const std::string& folder)
{
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(win32::systemPath(folder)), error);
    return isDirectory(folder);
}

bool setArchiveOnly(const std::string& path)
{
    return ::SetFileAttributesW(win32::systemPath(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != 0;
}

bool renameNoReplace(const std::string& from, const std::string& to)
{
    return sys::calls().renameNoReplace(from.c_str(), to.c_str()) == 0;
}

bool deleteFile(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    return sys::calls().unlink(path.c_str()) == 0;
}

bool sameFolder(const std::string& a, const std::string& b)
{
    if (!isDirectory(a) || !isDirectory(b)) {
        return false;
    }
    const std::optional<FileState> first = stateOf(a);
    const std::optional<FileState> second = stateOf(b);
    return first && second && first->device == second->device && first->inode == second->inode;
}

std::optional<FileState> stateOf(const std::string& path)
{
    const Handle file(openForInformation(path, true));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file.valid() || !::GetFileInformationByHandle(file.value, &info)) {
        return std::nullopt;
    }
    return FileState{info.dwVolumeSerialNumber,
                     (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     uint32_t(info.dwFileAttributes)};
}

bool restoreMode(const std::string& path, uint32_t mode)
{
    return ::SetFileAttributesW(win32::systemPath(path).c_str(), DWORD(mode)) != 0;
}

bool nameIsFree(const std::string& path)
{
    return attributesOf(path) == kNoAttributes && ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

void copyPermissions(const std::string&, int) {}

bool isAbsolute(std::string_view path)
{
    return !rootOf(path).empty();
}

std::string_view rootOf(std::string_view path)
{
    if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == ':' && isSeparator(path[2])) {
        return path.substr(0, 3);
    }
    if (path.size() < 2 || !isSeparator(path[0]) || !isSeparator(path[1])) {
        return {};
    }
    // \\server\share\: both names present.
    const size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos || server == 2) {
        return {};
    }
    const size_t share = path.find_first_of("\\/", server + 1);
    if (share == std::string_view::npos || share == server + 1) {
        return {};
    }
    return path.substr(0, share + 1);
}

std::optional<std::string> fullPathOfUrl(std::string_view urlPath)
{
    if (urlPath.size() < 2 || urlPath.front() != '/') {
        return std::nullopt;
    }
    std::string path(urlPath.substr(1));
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    if (path.rfind("UNC\\", 0) == 0) {
        path = "\\\\" + path.substr(4); // \\server\share\...
    }
    // Only a drive ("C:\...") or a share with both names; never a
    // drive-relative "C:x" or a device path "\\.\" or "\\?\".
    const std::string_view root = rootOf(path);
    if (root.empty()) {
        return std::nullopt;
    }
    if (root.size() > 3) {
        const size_t server = root.find('\\', 2);
        if (!isPlainFileName(root.substr(2, server - 2)) ||
            !isPlainFileName(root.substr(server + 1, root.size() - server - 2))) {
            return std::nullopt;
        }
    }
    return path;
}

bool liesIn(std::string_view path, std::string_view folder)
{
    if (path.size() <= folder.size()) {
        return false;
    }
    const std::wstring head = win32::widen(path.substr(0, folder.size()));
    const std::wstring wideFolder = win32::widen(folder);
    return ::CompareStringOrdinal(head.c_str(), int(head.size()), wideFolder.c_str(),
                                  int(wideFolder.size()), TRUE) == CSTR_EQUAL;
}

std::optional<std::string> fullPath(const std::string& path)
{
    const std::wstring wide = win32::widen(path);
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) {
        return std::nullopt;
    }
    full.resize(written);
    return win32::narrow(full);
}

std::string linkedFile(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
        !isFile(path)) {
        return path;
    }
    const Handle file(openForInformation(path, false));
    if (!file.valid()) {
        return path;
    }
    return win32::finalPathOf(file.value).value_or(path);
}

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // Device names stand for devices in every folder, with any extension.
    const std::string stem = text::toUpperAscii(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kDevices) {
        if (stem == device) {
            return false;
        }
    }
    const bool numbered =
        stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0);
    return !(numbered && stem[3] >= '0' && stem[3] <= '9');
}

std::string errorText(int error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
    ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    return message.empty() ? "エラー (" + std::to_string(error) + ")" : win32::narrow(message);
}

} // namespace vimbrel::fs
