#include "viewer/small_images/small_target_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace vimbrel {

SmallTargetFolder::SmallTargetFolder(const std::string& folder, bool needWriteBits)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return;
    }
    mReadable = true;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (item->d_type == DT_DIR) {
            mEntries.emplace(name, Entry::Folder);
            continue;
        }
        if (item->d_type == DT_REG && !needWriteBits) {
            mEntries.emplace(name, Entry::File);
            continue;
        }
        // Links, unknown types, and files whose permission matters.
        struct stat info
        {
        };
        if (::fstatat(dirFd, name.c_str(), &info, 0) != 0) {
            continue; // a dangling link: nothing stands there
        }
        if (S_ISDIR(info.st_mode)) {
            mEntries.emplace(name, Entry::Folder);
        } else {
            mEntries.emplace(name,
                             (info.st_mode & S_IWUSR) != 0 ? Entry::File : Entry::ReadOnlyFile);
        }
    }
}

SmallTargetFolder::Entry SmallTargetFolder::entry(const std::string& name) const
{
    const auto it = mEntries.find(name);
    return it == mEntries.end() ? Entry::Missing : it->second;
}

} // namespace vimbrel
