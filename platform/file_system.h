#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Folder paths handed to these functions end in the separator, and file paths
// are built by plain concatenation of folder and name, as everywhere in the
// tool. Paths are UTF-8 ("/" separates on POSIX, "\" on Windows).
namespace vimbrel::fs {

// The separator of folder names in paths: "/" on POSIX, "\" on Windows.
extern const char kSeparator;
// Every character that separates names: "/" on POSIX, "\\" and "/" on Windows.
extern const std::string_view kSeparators;
// True where the file system takes names that differ only in letter case
// for one name (Windows).
extern const bool kNamesIgnoreCase;

// One entry of a folder listing, with the attributes the tool asks about.
struct DirEntry
{
    std::string name;       // without folder, as the file system gives it
    bool directory = false; // a folder, or a link to one
    bool link = false;      // a symbolic link or other reparse point
    bool dangling = false;  // a link that leads nowhere (then no folder)
    bool hidden = false;    // POSIX: the name starts with "."; Windows: the attribute
    bool system = false;    // Windows: the system attribute; never on POSIX
    bool readOnly = false;  // POSIX: no write permission for the owner; Windows: the attribute
};

// How much a listing finds out about each entry.
enum class Detail
{
    Full,      // every field
    KindsOnly, // name, directory and dangling; readOnly only where it costs nothing
};

// Every entry of `folder` except "." and "..", in the order the file system
// gives them, into `entries`. False when the folder cannot be read.
bool readFolder(const std::string& folder, std::vector<DirEntry>& entries,
                Detail detail = Detail::Full);

// readFolder with every detail; a folder that cannot be read yields an empty list.
std::vector<DirEntry> listFolder(const std::string& folder);

// A file as the rename journal identifies it: the device (Windows: the
// volume serial number) and inode (Windows: the file index), and its
// permission bits (Windows: its attributes). Links are not followed.
struct FileState
{
    uint64_t device = 0;
    uint64_t inode = 0;
    uint32_t mode = 0;
};
std::optional<FileState> stateOf(const std::string& path);

// Gives `path` the permission bits (Windows: attributes) that stateOf() read.
bool restoreMode(const std::string& path, uint32_t mode);

// True when nothing at all stands at `path`, not even a dangling link; false
// also when that cannot be told.
bool nameIsFree(const std::string& path);

// Gives the open file `fd` the permissions of the file at `path`, where there
// is one (POSIX); nothing on Windows, where a new file takes its folder's.
void copyPermissions(const std::string& path, int fd);

// True for a full path: "/..." on POSIX; "C:\..." or "\\server\share\..." on Windows.
bool isAbsolute(std::string_view path);

// The URL path under which the viewer server serves the full path
// `fullPath`: on POSIX the path itself ("/home/me/a.jpg"); on Windows
// "/C:/Pictures/a.jpg" for a drive and "/UNC/server/share/a.jpg" for a share.
// Empty for a path that is not full.
std::string urlPathOf(std::string_view fullPath);

// The full path a URL path of urlPathOf's form names, separators as the
// system writes them; nothing for any other form (on Windows a head that is
// neither a drive letter with its colon nor UNC/server/share).
std::optional<std::string> fullPathOfUrl(std::string_view urlPath);

// True when `path` lies inside `folder` (which ends in the separator), as the
// file system compares names: byte for byte on POSIX, letter case ignored on
// Windows.
bool liesIn(std::string_view path, std::string_view folder);

// `path` made full against the current folder, with "." and ".." taken out;
// nothing when the system cannot tell the current folder.
std::optional<std::string> fullPath(const std::string& path);

// Where a save to `path` writes: the plain file that a link at `path` leads
// to, so that the link stays; `path` itself when it is no such link.
std::string linkedFile(const std::string& path);

// True when `name` can stand as one file name in a folder: not empty, not
// "." or "..", no separator and no NUL; on Windows also none of the
// characters it refuses (: * ? " < > | and controls), no trailing dot or
// blank, and no device name (CON, NUL, COM1, ...).
bool isPlainFileName(std::string_view name);

// The head of a full path that names its volume, with its separator: "/" on
// POSIX; "C:\" or "\\server\share\" on Windows. Empty for any other path.
std::string_view rootOf(std::string_view path);

// True when `path` names an existing folder (links followed).
bool isDirectory(const std::string& path);

// True when `path` names an existing plain file (links followed).
bool isFile(const std::string& path);

// True when `path` names a plain file (links followed) that is read-only.
bool isReadOnlyFile(const std::string& path);

// True when `folder` holds a folder (or a link to one) whose name does not
// start with "."; reads only as far as the first one.
bool hasVisibleSubfolder(const std::string& folder);

// Creates `folder` with every missing parent. True when it exists afterwards.
bool createFolders(const std::string& folder);

// Clears read-only: the owner gets write permission. Hidden cannot be cleared
// without renaming, so it stays. True on success.
bool setArchiveOnly(const std::string& path);

// Renames `from` to `to`, never replacing an existing `to`: on POSIX with
// renameat2(RENAME_NOREPLACE) and, where the file system does not support it,
// link + unlink; on Windows with MoveFileExW without the replace flag. True on
// success; on failure both names are as they were and sys::lastError() says why.
bool renameNoReplace(const std::string& from, const std::string& to);

// Deletes a file (not a folder). True on success.
bool deleteFile(const std::string& path);

// True when both paths name the same existing folder (same device and inode),
// whatever their spelling.
bool sameFolder(const std::string& a, const std::string& b);

// `path` with a trailing separator added when it has none (and is not empty).
std::string withSeparator(std::string path);

// The user's text for a system error number (sys::lastError()), for reports
// that say why one file could not be handled.
std::string errorText(int error);

} // namespace vimbrel::fs
