#pragma once

#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

#include "platform/held_folder.h"

namespace vimbrel {

// The folders whose plain files the viewer server may hand out, and the one
// way of opening a file for a request. Each folder is held open from the
// moment it is allowed, and every file is opened beneath one of those
// (HeldFolder), so that a link leading out, a folder swapped for a link, or
// a pipe put in a picture's place is refused by the system at the moment of
// opening, not by a check made before it.
//
// Show runs add folders on their thread while the server opens files on its
// own: both may use one object at the same time.
class ServedFolders
{
public:
    explicit ServedFolders(BeneathMode mode = BeneathMode::Kernel) : mMode(mode) {}
    ServedFolders(const ServedFolders&) = delete;
    ServedFolders& operator=(const ServedFolders&) = delete;

    // Adds a full folder path (with or without a trailing separator). A folder that
    // does not exist, or a relative path, is ignored; the same folder twice
    // counts once. The folder is opened now, so that replacing it by a link
    // later gains nothing. With `servedAs` (absolute), the folder's files are
    // served under that path instead of their own: the viewer pages name the
    // button images as ../Img/ beside their Work folder, wherever the
    // program's own Img/ lies.
    void allow(const std::string& folder, const std::string& servedAs = {});

    // Opens the plain file that the full `path` names, for reading: the
    // descriptor, or -1 when it may not be served or cannot be opened. A path
    // with ".", ".." or empty names, a name no file can have (on Windows a
    // stream "a.jpg:x", a device "CON", a trailing dot or blank), a NUL byte
    // or a trailing separator is refused before the file system is asked
    // anything, as is a path outside every folder as written (letter case
    // ignored where the file system ignores it). A link inside a folder is
    // followed as long as the file it leads to lies in one of the folders.
    int open(const std::string& path) const;

    bool empty() const;

private:
    struct Folder
    {
        std::string written; // lexically clean, ends in the separator
        std::unique_ptr<HeldFolder> held;
    };

    // Opens `path` beneath the first of `candidates` that takes it, the part
    // below each folder's written path (or resolved path, `asResolved`).
    int openIn(const std::vector<const Folder*>& candidates, const std::string& path,
               bool asResolved) const;

    BeneathMode mMode;
    mutable std::shared_mutex mMutex;
    std::vector<Folder> mFolders;
};

} // namespace vimbrel
