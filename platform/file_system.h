#pragma once

#include <string>
#include <vector>

// Folder paths handed to these functions end in "/", and file paths are built
// by plain concatenation of folder and name, as everywhere in the tool.
namespace vimbrel::fs {

// One entry of a folder listing, with the attributes the tool asks about.
struct DirEntry
{
    std::string name;       // without folder, the bytes the file system gives
    bool directory = false; // a folder, or a link to one
    bool link = false;      // a symbolic link (to a folder or a file)
    bool hidden = false;    // the name starts with "."
    bool readOnly = false;  // the owner has no write permission
};

// Every entry of `folder` except "." and "..", in the order the file system
// gives them. A folder that cannot be read yields an empty list.
std::vector<DirEntry> listFolder(const std::string& folder);

// True when `path` names an existing folder (links followed).
bool isDirectory(const std::string& path);

// True when `path` names an existing plain file (links followed).
bool isFile(const std::string& path);

// True when `folder` holds a folder (or a link to one) whose name does not
// start with "."; reads only as far as the first one.
bool hasVisibleSubfolder(const std::string& folder);

// Creates `folder` with every missing parent. True when it exists afterwards.
bool createFolders(const std::string& folder);

// Clears read-only: the owner gets write permission. Hidden cannot be cleared
// without renaming, so it stays. True on success.
bool setArchiveOnly(const std::string& path);

// Renames `from` to `to`, never replacing an existing `to`. Uses
// renameat2(RENAME_NOREPLACE) and, where the file system does not support it,
// link + unlink. True on success; on failure both names are as they were.
bool renameNoReplace(const std::string& from, const std::string& to);

// Deletes a file (not a folder). True on success.
bool deleteFile(const std::string& path);

// True when both paths name the same existing folder (same device and inode),
// whatever their spelling.
bool sameFolder(const std::string& a, const std::string& b);

// `path` with a trailing "/" added when it has none (and is not empty).
std::string withSeparator(std::string path);

} // namespace vimbrel::fs
