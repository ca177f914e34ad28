#include "viewer/server/served_folders.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

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

ServedFolders::~ServedFolders()
{
    for (const Folder& folder : mFolders) {
        ::close(folder.fd);
    }
}

void ServedFolders::allow(const std::string& folder, const std::string& servedAs)
{
    const std::string& name = servedAs.empty() ? folder : servedAs;
    for (const std::string* path : {&folder, &name}) {
        if (path->empty() || path->front() != '/' || path->find('\0') != std::string::npos) {
            return;
        }
    }
    const std::string written = withSlash(std::filesystem::path(name).lexically_normal().string());
    const std::optional<std::string> resolved = realPath(folder);
    if (!resolved) {
        return;
    }
    const int fd = ::open(resolved->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const std::unique_lock lock(mMutex);
    for (const Folder& known : mFolders) {
        if (known.written == written && known.resolved == withSlash(*resolved)) {
            ::close(fd);
            return;
        }
    }
    mFolders.push_back({written, withSlash(*resolved), fd});
}

bool ServedFolders::empty() const
{
    const std::shared_lock lock(mMutex);
    return mFolders.empty();
}

int ServedFolders::openIn(const std::vector<const Folder*>& candidates, const std::string& path,
                          std::string Folder::*prefix) const
{
    int error = ENOENT;
    for (const Folder* folder : candidates) {
        const int fd = openBeneath(folder->fd, path.substr((folder->*prefix).size()), mMode);
        if (fd >= 0) {
            return fd;
        }
        error = errno;
    }
    errno = error;
    return -1;
}

int ServedFolders::open(const std::string& path) const
{
    if (!isCleanFilePath(path)) {
        errno = EINVAL;
        return -1;
    }
    const std::shared_lock lock(mMutex);
    // The folders that hold the path as written, the innermost first.
    std::vector<const Folder*> holding;
    for (const Folder& folder : mFolders) {
        if (startsWith(path, folder.written)) {
            holding.push_back(&folder);
        }
    }
    if (holding.empty()) {
        errno = ENOENT;
        return -1;
    }
    std::sort(holding.begin(), holding.end(), [](const Folder* a, const Folder* b) {
        return a->written.size() > b->written.size();
    });
    const int fd = openIn(holding, path, &Folder::written);
    if (fd >= 0 || (errno != EXDEV && errno != ELOOP && errno != ENOTDIR)) {
        return fd;
    }
    // A link that leads out of its folder may still lead into another served
    // folder (a page of Work/ naming a picture through a link). Its target
    // is opened beneath that folder, so the kernel again has the last word.
    const std::optional<std::string> resolved = realPath(path);
    if (!resolved) {
        errno = ENOENT;
        return -1;
    }
    std::vector<const Folder*> target;
    for (const Folder& folder : mFolders) {
        if (startsWith(*resolved, folder.resolved)) {
            target.push_back(&folder);
        }
    }
    if (target.empty()) {
        errno = EXDEV;
        return -1;
    }
    return openIn(target, *resolved, &Folder::resolved);
}

} // namespace vimbrel
