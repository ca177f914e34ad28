#pragma once

#include <string>
#include <string_view>

namespace vimbrel::testing {

// A fresh folder under the system's temporary folder, removed with all its
// content (read-only parts included) when the object goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in the system's separator.
    const std::string& path() const { return mPath; }

    // path() + relative, each "/" of it written as the system's separator.
    std::string operator/(std::string_view relative) const;

    // Writes `content` to path()/relative, creating missing folders; returns
    // the full path.
    std::string write(std::string_view relative, std::string_view content) const;

    // Creates path()/relative with its parents; returns it with a trailing "/".
    std::string makeFolder(std::string_view relative) const;

private:
    std::string mPath;
};

// For its lifetime the process works in `folder`; the old current folder
// comes back afterwards.
class ScopedCurrentFolder
{
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string mPrevious;
};

// `path` quoted for the system's command shell (sh, or cmd on Windows).
std::string shellQuoted(const std::string& path);

// `path` with each "/" written as the system's separator.
std::string nativePath(std::string_view path);

// A full folder path made of `names` ("a/b"), as the system writes it,
// ending in the separator: "/a/b/" on POSIX, "C:\\a\\b\\" on Windows.
std::string fullFolder(std::string_view names);

// The whole content of a file, or "" when it cannot be read.
std::string readFile(const std::string& path);

} // namespace vimbrel::testing
