#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vimbrel {

// The folders whose plain files the viewer server may hand out, and the test
// that keeps every request inside them. A request path must lie inside a
// registered folder both as written and after every link on it is resolved,
// so a link in a picture folder that points elsewhere is refused.
class ServedFolders
{
public:
    // Adds an absolute folder (with or without a trailing "/"). A folder that
    // does not exist, or a relative path, is ignored; the same folder twice
    // counts once. Links in the folder's own path are resolved now, so that
    // replacing the folder by a link later gains nothing.
    void allow(const std::string& folder);

    // The resolved path of the plain file that the absolute `path` names, when
    // it may be served; nothing otherwise. A path with "." or ".." segments,
    // empty segments, a NUL byte or a trailing "/" is refused before the file
    // system is asked anything, as is a path outside every folder as written.
    std::optional<std::string> resolve(const std::string& path) const;

    bool empty() const { return mFolders.empty(); }

private:
    struct Folder
    {
        std::string written;  // lexically clean, ends in "/"
        std::string resolved; // after realpath, ends in "/"
    };
    std::vector<Folder> mFolders;
};

} // namespace vimbrel
