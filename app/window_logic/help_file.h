#pragma once

namespace vimbrel {

// The help file, in the program's folder.
inline constexpr const char* kHelpFileName = "Vimbrel.html";

} // namespace vimbrel
