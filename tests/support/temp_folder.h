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

    // The folder's path, ending in "/".
    const std::string& path() const { return mPath; }

    // path() + relative.
    std::string operator/(std::string_view relative) const;

    // Writes `content` to path()/relative, creating missing folders; returns
    // the full path.
    std::string write(std::string_view relative, std::string_view content) const;

    // Creates path()/relative with its parents; returns it with a trailing "/".
    std::string makeFolder(std::string_view relative) const;

private:
    std::string mPath;
};

// The whole content of a file, or "" when it cannot be read.
std::string readFile(const std::string& path);

} // namespace vimbrel::testing
