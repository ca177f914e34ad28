#include "platform/win32/final_path.h"

#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {

std::optional<std::string> finalPathOf(HANDLE file)
{
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()),
                                                         FILE_NAME_NORMALIZED);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < final.size()) {
            final.resize(length);
            break;
        }
        final.resize(length + 1);
    }
    // "\\?\C:\..." and "\\?\UNC\server\..." back to the paths the tool holds.
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return "\\\\" + narrow(final.substr(8));
    }
    if (final.rfind(L"\\\\?\\", 0) == 0) {
        return narrow(final.substr(4));
    }
    return narrow(final);
}

} // namespace vimbrel::win32
