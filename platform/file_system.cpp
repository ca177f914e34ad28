#include "platform/file_system.h"

namespace vimbrel::fs {

std::vector<DirEntry> listFolder(const std::string& folder)
{
    std::vector<DirEntry> entries;
    if (!readFolder(folder, entries)) {
        entries.clear();
    }
    return entries;
}

std::string withSeparator(std::string path)
{
    if (!path.empty() && path.back() != kSeparator) {
        path.push_back(kSeparator);
    }
    return path;
}

std::string urlPathOf(std::string_view fullPath)
{
    const std::string_view root = rootOf(fullPath);
    if (root.empty()) {
        return {};
    }
    std::string path(fullPath);
    for (char& c : path) {
        c = c == kSeparator ? '/' : c;
    }
    // A share's head //server/share/ would name a host in a URL.
    if (path.rfind("//", 0) == 0) {
        return "/UNC/" + path.substr(2);
    }
    return path.front() == '/' ? path : "/" + path;
}

} // namespace vimbrel::fs
