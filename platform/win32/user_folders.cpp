#include "platform/user_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/file_system.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::user_folders {
namespace {

// The known folder with "Vimbrel\" appended; the program folder's own
// parent as a last resort, where the profile has no such folder.
std::string knownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) {
        folder = win32::narrow(path);
    }
    ::CoTaskMemFree(path);
    if (folder.empty()) {
        wchar_t temporary[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
        folder = win32::narrow(std::wstring_view(temporary, length));
    }
    return fs::withSeparator(folder) + "Vimbrel\\";
}

} // namespace

std::string settings()
{
    return knownFolder(FOLDERID_RoamingAppData);
}

std::string data()
{
    return knownFolder(FOLDERID_LocalAppData);
}

bool canWrite(const std::string& folder)
{
    // Permissions on Windows are more than one bit (ACLs, UAC's virtualised
    // Program Files): only making a file tells. The probe is gone when its
    // handle closes.
    const std::wstring probe = win32::systemPath(fs::withSeparator(folder) + "Vimbrel.write-test." +
                                                 std::to_string(::GetCurrentProcessId()));
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

} // namespace vimbrel::user_folders
