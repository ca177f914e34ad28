#include "viewer/show/work_folder_cleanup.h"

#include "platform/file_system.h"

namespace vimbrel {

void DeleteFolderFiles(const std::string& folder)
{
    if (folder.empty()) {
        return; // no folder named: never the current folder
    }
    const std::string base = fs::withSeparator(folder);
    for (const fs::DirEntry& entry : fs::listFolder(base)) {
        if (entry.directory) {
            continue;
        }
        // A link is deleted itself; making it writable would change the file
        // it points to instead.
        if (entry.readOnly && !entry.link) {
            fs::setArchiveOnly(base + entry.name);
        }
        fs::deleteFile(base + entry.name);
    }
}

} // namespace vimbrel
