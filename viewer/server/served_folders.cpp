#include "viewer/server/served_folders.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "platform/file_system.h"
#include "platform/sys_calls.h"

namespace vimbrel {
namespace {

// True for a full path in canonical spelling: after its root, names that
// each can stand as a file name (no empty, "." or ".." name; on Windows no
// stream, device name, trailing dot or blank), no NUL and no trailing
// separator.
bool isCleanFilePath(const std::string& path)
{
    const std::string_view root = fs::rootOf(path);
    if (root.empty() || path.size() == root.size() || path.back() == fs::kSeparator ||
        path.find('\0') != std::string::npos) {
        return false;
    }
    size_t start = root.size();
    while (start <= path.size()) {
        const size_t end = std::min(path.find(fs::kSeparator, start), path.size());
        if (!fs::isPlainFileName(std::string_view(path).substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

void ServedFolders::allow(const std::string& folder, const std::string& servedAs)
{
    const std::string& name = servedAs.empty() ? folder : servedAs;
    for (const std::string* path : {&folder, &name}) {
        if (!fs::isAbsolute(*path) || path->find('\0') != std::string::npos) {
            return;
        }
    }
    const std::optional<std::string> clean = fs::fullPath(name);
    if (!clean) {
        return;
    }
    auto held = std::make_unique<HeldFolder>(folder);
    if (!held->held()) {
        return;
    }
    const std::string written = fs::withSeparator(*clean);
    const std::unique_lock lock(mMutex);
    for (const Folder& known : mFolders) {
        if (known.written == written && known.held->resolved() == held->resolved()) {
            return;
        }
    }
    mFolders.push_back({written, std::move(held)});
}

bool ServedFolders::empty() const
{
    const std::shared_lock lock(mMutex);
    return mFolders.empty();
}

int ServedFolders::openIn(const std::vector<const Folder*>& candidates, const std::string& path,
                          bool asResolved) const
{
    int error = sys::error::kMissing;
    for (const Folder* folder : candidates) {
        const size_t prefix = asResolved ? folder->held->resolved().size() : folder->written.size();
        const int fd = folder->held->open(path.substr(prefix), mMode);
        if (fd >= 0) {
            return fd;
        }
        error = sys::lastError();
    }
    return sys::fail(error);
}

int ServedFolders::open(const std::string& path) const
{
    if (!isCleanFilePath(path)) {
        return sys::fail(sys::error::kNotPlain);
    }
    const std::shared_lock lock(mMutex);
    // The folders that hold the path as written, the innermost first.
    std::vector<const Folder*> holding;
    for (const Folder& folder : mFolders) {
        if (fs::liesIn(path, folder.written)) {
            holding.push_back(&folder);
        }
    }
    if (holding.empty()) {
        return sys::fail(sys::error::kMissing);
    }
    std::sort(holding.begin(), holding.end(), [](const Folder* a, const Folder* b) {
        return a->written.size() > b->written.size();
    });
    const int fd = openIn(holding, path, false);
    if (fd >= 0 || !leadsOut(sys::lastError())) {
        return fd;
    }
    // A link that leads out of its folder may still lead into another served
    // folder (a page of Work/ naming a picture through a link). Its target
    // is opened beneath that folder, so the system again has the last word.
    const std::optional<std::string> resolved = resolvedPath(path);
    if (!resolved) {
        return sys::fail(sys::error::kMissing);
    }
    std::vector<const Folder*> target;
    for (const Folder& folder : mFolders) {
        if (fs::liesIn(*resolved, folder.held->resolved())) {
            target.push_back(&folder);
        }
    }
    if (target.empty()) {
        return sys::fail(sys::error::kNotPlain);
    }
    return openIn(target, *resolved, true);
}

} // namespace vimbrel
