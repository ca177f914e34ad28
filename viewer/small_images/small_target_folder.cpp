#include "viewer/small_images/small_target_folder.h"

#include "platform/file_system.h"

namespace vimbrel {

SmallTargetFolder::SmallTargetFolder(const std::string& folder, bool needWriteBits)
{
    std::vector<fs::DirEntry> entries;
    mReadable =
        fs::readFolder(folder, entries, needWriteBits ? fs::Detail::Full : fs::Detail::KindsOnly);
    for (const fs::DirEntry& item : entries) {
        if (item.dangling) {
            continue; // a link that leads nowhere: nothing stands there
        }
        mEntries.emplace(item.name, item.directory  ? Entry::Folder
                                    : item.readOnly ? Entry::ReadOnlyFile
                                                    : Entry::File);
    }
}

SmallTargetFolder::Entry SmallTargetFolder::entry(const std::string& name) const
{
    const auto it = mEntries.find(name);
    return it == mEntries.end() ? Entry::Missing : it->second;
}

} // namespace vimbrel
