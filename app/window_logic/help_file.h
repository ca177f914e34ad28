#pragma once

namespace vimbrel {

// The help file, in the program's folder.
inline constexpr const char* kHelpFileName = "Vimbrel.html";
// Shown when the help file cannot be found.
inline constexpr const char* kHelpMissingMessage = "ヘルプファイルが見つかりません。";

} // namespace vimbrel
