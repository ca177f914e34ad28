#include "app/window_logic/window_desktop.h"

#include "viewer/server/viewer_opener.h"

namespace vimbrel {

WindowDesktop::ViewerState viewerStateOf(const ViewerOpener* opener)
{
    if (opener == nullptr) {
        return {};
    }
    return {opener->viewerOpen(), opener->browserCame(), opener->handedPage()};
}

} // namespace vimbrel
