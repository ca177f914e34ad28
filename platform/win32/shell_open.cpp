#include "platform/shell_open.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace vimbrel {

bool shellOpen(const std::string& path, bool maximised)
{
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", win32::widen(path).c_str(), nullptr,
                                             nullptr, maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
    // Values above 32 say the shell started it.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace vimbrel
