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
        const size_t end = std::min(path.find(fs::kSeparator, start), path.size());
        if (end > start) {
            names.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

std::string joinFolder(std::string_view root, const std::vector<std::string>& names, size_t count)
{
    std::string folder(root);
    for (size_t i = 0; i < count; ++i) {
        folder += names[i] + fs::kSeparator;
    }
    return folder;
}

// Names are shared when they are the same bytes, or differ only in letter case
// where the file system ignores case, or where the two paths so far name one
// real folder. On a file system that respects case, /Tools/view/ and
// /Tools/View/ are two folders, and treating them as one would send the pages
// to the wrong one.
bool sameName(std::string_view root, const std::vector<std::string>& work,
              const std::vector<std::string>& other, size_t i)
{
    if (work[i] == other[i]) {
        return true;
    }
    return text::toUpperAscii(work[i]) == text::toUpperAscii(other[i]) &&
           (fs::kNamesIgnoreCase ||
            fs::sameFolder(joinFolder(root, work, i + 1), joinFolder(root, other, i + 1)));
}

// A path's separators as they stand in URLs.
std::string withUrlSlashes(std::string path)
{
    for (char& c : path) {
        if (c == fs::kSeparator) {
            c = '/';
        }
    }
    return path;
}

} // namespace

std::string urlOfRoot(std::string_view root)
{
    return fs::urlPathOf(root).substr(1);
}

std::string FolderUrl(const std::string& WorkFolder, const std::string& folder)
{
    const std::string_view workRoot = fs::rootOf(WorkFolder);
    const std::string_view root = fs::rootOf(folder);
    if (workRoot.empty() || root.empty()) {
        return withUrlSlashes(fs::withSeparator(folder));
    }
    const std::vector<std::string> work = folderNames(WorkFolder.substr(workRoot.size()));
    const std::vector<std::string> target = folderNames(folder.substr(root.size()));
    std::string url;
    size_t shared = 0;
    if (text::toUpperAscii(urlOfRoot(workRoot)) == text::toUpperAscii(urlOfRoot(root))) {
        while (shared < work.size() && shared < target.size() &&
               sameName(root, work, target, shared)) {
            ++shared;
        }
    } else {
        // Another drive or share. Its full path ("D:/Pictures/") would be read
        // as a URL of the scheme "d:", a share's ("//server/share/") as a
        // host: the URL climbs out of the Work folder's drive to the root of
        // the served paths and goes down through the other one.
        for (const char c : urlOfRoot(workRoot)) {
            url += c == '/' ? "../" : "";
        }
        url += urlOfRoot(root);
    }
    std::string climb;
    for (size_t i = shared; i < work.size(); ++i) {
        climb += "../";
    }
    url.insert(0, climb);
    for (size_t i = shared; i < target.size(); ++i) {
        url += target[i] + "/";
    }
    return url.empty() ? "./" : url;
}

} // namespace vimbrel
