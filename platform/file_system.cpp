#include "platform/file_system.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/sys_calls.h"

namespace vimbrel::fs {

std::vector<DirEntry> listFolder(const std::string& folder)
{
    std::vector<DirEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return entries;
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
        struct stat own
        {
        };
        if (::fstatat(dirFd, name.c_str(), &own, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.link = S_ISLNK(own.st_mode);
            struct stat target = own;
            if (entry.link && ::fstatat(dirFd, name.c_str(), &target, 0) != 0) {
                target = own; // a dangling link counts as a file
            }
            entry.directory = S_ISDIR(target.st_mode);
            entry.readOnly = (target.st_mode & S_IWUSR) == 0;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
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

std::string withSeparator(std::string path)
{
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

} // namespace vimbrel::fs
