#include "platform/file_system.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/sys_calls.h"

namespace vimbrel::fs {

const char kSeparator = '/';
const std::string_view kSeparators = "/";
const bool kNamesIgnoreCase = false;

bool readFolder(const std::string& folder, std::vector<DirEntry>& entries, Detail detail)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return false;
    }
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        DirEntry entry;
        entry.name = name;
        entry.hidden = name.front() == '.';
        // Folders and plain files need no look of their own when only their
        // kind is asked for; links, unknown kinds and permissions do.
        if (detail == Detail::KindsOnly && (item->d_type == DT_DIR || item->d_type == DT_REG)) {
            entry.directory = item->d_type == DT_DIR;
            entries.push_back(std::move(entry));
            continue;
        }
        struct stat own
        {
        };
        if (::fstatat(dirFd, name.c_str(), &own, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.link = S_ISLNK(own.st_mode);
            struct stat target = own;
            if (entry.link && ::fstatat(dirFd, name.c_str(), &target, 0) != 0) {
                target = own; // a dangling link counts as a file
                entry.dangling = true;
            }
            entry.directory = S_ISDIR(target.st_mode);
            entry.readOnly = (target.st_mode & S_IWUSR) == 0;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

std::optional<FileState> stateOf(const std::string& path)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileState{uint64_t(info.st_dev), uint64_t(info.st_ino), uint32_t(info.st_mode & 07777)};
}

bool restoreMode(const std::string& path, uint32_t mode)
{
    return ::chmod(path.c_str(), mode_t(mode)) == 0;
}

bool nameIsFree(const std::string& path)
{
    struct stat info = {};
    return ::lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

void copyPermissions(const std::string& path, int fd)
{
    struct stat old = {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
}

bool isAbsolute(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

std::optional<std::string> fullPathOfUrl(std::string_view urlPath)
{
    if (!isAbsolute(urlPath)) {
        return std::nullopt;
    }
    return std::string(urlPath);
}

bool liesIn(std::string_view path, std::string_view folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0;
}

std::optional<std::string> fullPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return std::nullopt;
    }
    return absolute.lexically_normal().string();
}

std::string linkedFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_symlink(path, error) && isFile(path)) {
        const std::filesystem::path target = std::filesystem::canonical(path, error);
        if (!error) {
            return target.string();
        }
    }
    return path;
}

bool isPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string_view rootOf(std::string_view path)
{
    return isAbsolute(path) ? path.substr(0, 1) : std::string_view();
}

std::string errorText(int error)
{
    return std::strerror(error);
}

bool hasVisibleSubfolder(const std::string& folder)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return false;
    }
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* item = ::readdir(dir.get())) {
        if (item->d_name[0] == '.') {
            continue;
        }
        if (item->d_type == DT_DIR) {
            return true;
        }
        // Links, and file systems that do not tell the kind, need a look.
        struct stat info = {};
        if ((item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) &&
            ::fstatat(dirFd, item->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)) {
            return true;
        }
    }
    return false;
}

bool isDirectory(const std::string& path)
{
    struct stat info
    {
    };
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path)
{
    struct stat info
    {
    };
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR);
}

bool createFolders(const std::string& folder)
{
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder), error);
    return isDirectory(folder);
}

bool setArchiveOnly(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    return ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0;
}

bool renameNoReplace(const std::string& from, const std::string& to)
{
    const sys::Calls& calls = sys::calls();
    if (calls.renameNoReplace(from.c_str(), to.c_str()) == 0) {
        return true;
    }
    // Only an unsupported flag or file system falls back; EEXIST and every
    // other refusal is final.
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
    // link() refuses an existing target just as RENAME_NOREPLACE does.
    if (calls.link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    if (calls.unlink(from.c_str()) != 0) {
        const int saved = errno;
        calls.unlink(to.c_str()); // both names were the same file: undo the link
        errno = saved;
        return false;
    }
    return true;
}

bool deleteFile(const std::string& path)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    return sys::calls().unlink(path.c_str()) == 0;
}

bool sameFolder(const std::string& a, const std::string& b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           S_ISDIR(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace vimbrel::fs
