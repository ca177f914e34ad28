#include "viewer/server/served_folders.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace vimbrel {
namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The absolute path with links resolved, or nothing when it does not exist.
std::optional<std::string> realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

// True for an absolute path in canonical spelling: no empty, "." or ".."
// segment, no NUL and no trailing "/".
bool isCleanFilePath(const std::string& path)
{
    if (path.size() < 2 || path.front() != '/' || path.back() == '/' ||
        path.find('\0') != std::string::npos) {
        return false;
    }
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

void ServedFolders::allow(const std::string& folder)
{
    if (folder.empty() || folder.front() != '/' || folder.find('\0') != std::string::npos) {
        return;
    }
    const std::string written =
        withSlash(std::filesystem::path(folder).lexically_normal().string());
    const std::optional<std::string> resolved = realPath(written);
    struct stat info
    {
    };
    if (!resolved || ::stat(resolved->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return;
    }
    for (const Folder& known : mFolders) {
        if (known.written == written && known.resolved == withSlash(*resolved)) {
            return;
        }
    }
    mFolders.push_back({written, withSlash(*resolved)});
}

std::optional<std::string> ServedFolders::resolve(const std::string& path) const
{
    if (!isCleanFilePath(path)) {
        return std::nullopt;
    }
    bool inside = false;
    for (const Folder& folder : mFolders) {
        inside = inside || startsWith(path, folder.written);
    }
    if (!inside) {
        return std::nullopt;
    }
    const std::optional<std::string> resolved = realPath(path);
    if (!resolved) {
        return std::nullopt;
    }
    for (const Folder& folder : mFolders) {
        if (startsWith(*resolved, folder.resolved)) {
            struct stat info
            {
            };
            if (::stat(resolved->c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
                return resolved;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace vimbrel
