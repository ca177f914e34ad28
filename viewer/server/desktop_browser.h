#pragma once

#include <string>

namespace vimbrel {

// Hands the page file `pagePath` to the desktop's default browser; true when
// the browser could be started. On Windows through the shell's "open" with
// SW_SHOWMAXIMIZED for a maximised window and SW_SHOW otherwise; on Linux
// through QDesktopServices where a Qt GUI application runs, otherwise
// xdg-open, neither of which can ask for a maximised window.
bool openInDesktopBrowser(const std::string& pagePath, bool maximised);

} // namespace vimbrel
