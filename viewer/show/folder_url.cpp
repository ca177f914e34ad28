#include "viewer/show/folder_url.h"

#include <string_view>
#include <vector>

#include "platform/byte_text.h"
#include "platform/file_system.h"

namespace vimbrel {
namespace {

std::vector<std::string> folderNames(std::string_view path)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            names.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

std::string joinFolder(const std::vector<std::string>& names, size_t count)
{
    std::string folder = "/";
    for (size_t i = 0; i < count; ++i) {
        folder += names[i] + "/";
    }
    return folder;
}

// Names are shared when they are the same bytes, or differ only in letter case
// while the two paths so far name one real folder (a file system that ignores
// case). On a file system that respects case, /Tools/view/ and /Tools/View/ are
// two folders, and treating them as one would send the pages to the wrong one.
bool sameName(const std::vector<std::string>& work, const std::vector<std::string>& other, size_t i)
{
    if (work[i] == other[i]) {
        return true;
    }
    return text::toUpperAscii(work[i]) == text::toUpperAscii(other[i]) &&
           fs::sameFolder(joinFolder(work, i + 1), joinFolder(other, i + 1));
}

} // namespace

std::string FolderUrl(const std::string& WorkFolder, const std::string& folder)
{
    if (folder.empty() || folder.front() != '/' || WorkFolder.empty() ||
        WorkFolder.front() != '/') {
        return fs::withSeparator(folder);
    }
    const std::vector<std::string> work = folderNames(WorkFolder);
    const std::vector<std::string> target = folderNames(folder);
    size_t shared = 0;
    while (shared < work.size() && shared < target.size() && sameName(work, target, shared)) {
        ++shared;
    }
    std::string url;
    for (size_t i = shared; i < work.size(); ++i) {
        url += "../";
    }
    for (size_t i = shared; i < target.size(); ++i) {
        url += target[i] + "/";
    }
    return url.empty() ? "./" : url;
}

} // namespace vimbrel
