#pragma once

#include <string>
#include <unordered_map>

namespace vimbrel {

// What the folder that receives the small images holds, read once at the
// start of a run, so that deciding about each picture costs no system call.
class SmallTargetFolder
{
public:
    enum class Entry
    {
        Missing,
        File,         // any entry that is not a folder, the owner may write it
        ReadOnlyFile, // the owner has no write permission: it cannot be replaced
        Folder,
    };

    // Reads `folder` (ending in "/"). Write permissions are looked up only
    // when `needWriteBits`; otherwise every file counts as a File.
    SmallTargetFolder(const std::string& folder, bool needWriteBits);

    // False when the folder does not exist or cannot be read.
    bool readable() const { return mReadable; }

    Entry entry(const std::string& name) const;

private:
    std::unordered_map<std::string, Entry> mEntries;
    bool mReadable = false;
};

} // namespace vimbrel
