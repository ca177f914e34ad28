#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vimbrel::win32 {

// The path the system gives the open `file` after every link, junction and
// short name (GetFinalPathNameByHandleW), in the form the tool holds paths
// ("C:\\..." or "\\\\server\\share\\..."), UTF-8; nothing when it cannot tell.
std::optional<std::string> finalPathOf(HANDLE file);

} // namespace vimbrel::win32
