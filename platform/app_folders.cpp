#include "platform/app_folders.h"

#include "platform/file_system.h"
#include "platform/user_folders.h"

namespace vimbrel {

AppFolders appFoldersIn(const std::string& folder)
{
    const std::string base = fs::withSeparator(folder);
    return {base, base, base};
}

AppFolders appFoldersFor(const std::string& programFolder)
{
    const std::string program = fs::withSeparator(programFolder);
    return appFoldersFor(program, user_folders::canWrite(program));
}

AppFolders appFoldersFor(const std::string& programFolder, bool programWritable)
{
    const std::string program = fs::withSeparator(programFolder);
    if (programWritable) {
        return appFoldersIn(program);
    }
    AppFolders folders{program, user_folders::settings(), user_folders::data()};
    fs::createFolders(folders.settings);
    fs::createFolders(folders.data);
    return folders;
}

} // namespace vimbrel
