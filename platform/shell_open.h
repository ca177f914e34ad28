#pragma once

#include <string>

namespace vimbrel {

// Windows: the shell's "open" on the file `path` (the program its type is
// associated with), in a maximised window when asked (SW_SHOWMAXIMIZED,
// otherwise SW_SHOW). Does not wait; true when the shell started it.
bool shellOpen(const std::string& path, bool maximised);

} // namespace vimbrel
