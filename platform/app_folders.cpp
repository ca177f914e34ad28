#include "platform/app_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"

namespace vimbrel {
namespace {

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

// $variable when it holds an absolute path (as the XDG base directory rules
// ask), else the home folder + `fallback`; with "vimbrel/" appended.
std::string xdgFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    const std::string base = value != nullptr && *value == '/'
                                 ? std::string(value)
                                 : fs::withSeparator(homeFolder()) + fallback;
    return fs::withSeparator(base) + "vimbrel/";
}

} // namespace

AppFolders appFoldersIn(const std::string& folder)
{
    const std::string base = fs::withSeparator(folder);
    return {base, base, base};
}

AppFolders appFoldersFor(const std::string& programFolder)
{
    const std::string program = fs::withSeparator(programFolder);
    return appFoldersFor(program, ::access(program.c_str(), W_OK) == 0);
}

AppFolders appFoldersFor(const std::string& programFolder, bool programWritable)
{
    const std::string program = fs::withSeparator(programFolder);
    if (programWritable) {
        return appFoldersIn(program);
    }
    AppFolders folders{program, xdgFolder("XDG_CONFIG_HOME", ".config"),
                       xdgFolder("XDG_DATA_HOME", ".local/share")};
    fs::createFolders(folders.settings);
    fs::createFolders(folders.data);
    return folders;
}

} // namespace vimbrel
