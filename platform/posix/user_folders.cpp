#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"

namespace vimbrel::user_folders {
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

std::string settings()
{
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string data()
{
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

bool canWrite(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK) == 0;
}

} // namespace vimbrel::user_folders
