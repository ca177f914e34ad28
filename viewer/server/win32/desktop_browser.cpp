#include "viewer/server/desktop_browser.h"
#include "platform/shell_open.h"

namespace vimbrel {

bool openInDesktopBrowser(const std::string& pagePath, bool maximised)
{
    return shellOpen(pagePath, maximised);
}

} // namespace vimbrel
