#include "platform/private_folder.h"

#include <windows.h>

#include <random>

#include "platform/file_system.h"
#include "platform/win32/wide_text.h"

namespace vimbrel {

std::string makePrivateFolder(const std::string& fallback)
{
    wchar_t temporary[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    const std::string base = fs::withSeparator(
        length > 0 ? win32::narrow(std::wstring_view(temporary, length)) : fallback);
    if (base.empty()) {
        return {};
    }
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = base + "vimbrel-" + std::to_string(seed()) + "\\";
        // Creating fails where anything stands under the name.
        if (::CreateDirectoryW(win32::systemPath(folder).c_str(), nullptr)) {
            return folder;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return {};
}

bool removeEmptyFolder(const std::string& folder)
{
    return ::RemoveDirectoryW(win32::systemPath(folder).c_str()) != 0;
}

} // namespace vimbrel
