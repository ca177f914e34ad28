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

} // namespace vimbrel::fs
