#include "platform/private_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/file_system.h"

namespace vimbrel {

std::string makePrivateFolder(const std::string& fallback)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string base =
        fs::withSeparator(runtime != nullptr && *runtime == '/' ? runtime : fallback);
    if (base.empty()) {
        return {};
    }
    const std::string pattern = base + "vimbrel-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) { // made 0700
        return {};
    }
    return fs::withSeparator(name.data());
}

bool removeEmptyFolder(const std::string& folder)
{
    return ::rmdir(folder.c_str()) == 0;
}

} // namespace vimbrel
