#include "app/window_logic/window_user_interface.h"

#include <string>

#include "app/window_logic/window_controls.h"
#include "app/window_logic/window_desktop.h"
#include "viewer/server/viewer_opener.h"

namespace vimbrel {

WindowUserInterface::WindowUserInterface(WindowControls& controls, WindowDesktop& desktop)
    : mControls(controls), mDesktop(desktop)
{
}

void WindowUserInterface::showMessage(const std::string& text)
{
    // A message ends the work that was under way, so its progress box goes.
    endProgress();
    mDesktop.showMessage(text);
}

void WindowUserInterface::endProgress()
{
    if (mProgressShown) {
        mProgressShown = false;
        mDesktop.endProgress();
    }
}

void WindowUserInterface::showNote(const std::string& text)
{
    mControls.setText(Control::StatusNote, text);
}

void WindowUserInterface::showFileCount(int count)
{
    mControls.setText(Control::StatusCount, std::to_string(count));
}

void WindowUserInterface::openViewer(const ViewerPages& pages, bool maximised)
{
    if (!mDesktop.openViewer(pages, maximised)) {
        showMessage(std::string(kViewerFailedMessage) + "\rPATH=" + pages.indexPath);
        return;
    }
    // A browser that was started but never asks for the viewer (none is the
    // default, or it refuses to run) leaves the person waiting: the status
    // bar says so, with the page to open by hand.
    mDesktop.callLater(ViewerOpener::kBrowserPatience, [this] {
        const WindowDesktop::ViewerState viewer = mDesktop.viewerState();
        if (!viewer.askedFor) {
            showNote(kBrowserAbsentNote + viewer.page);
        }
    });
}

void WindowUserInterface::setRenameTabEnabled(bool enabled)
{
    mControls.setEnabled(Control::TabOther, enabled);
}

bool WindowUserInterface::reportProgress(int done, int total)
{
    const int shownTotal = total > 0 ? total : 1;
    const int shownDone = done < 0 ? 0 : (done > shownTotal ? shownTotal : done);
    mProgressShown = true;
    const bool goOn = mDesktop.showProgress(shownDone, shownTotal);
    if (!goOn || done >= total) {
        endProgress();
    }
    return goOn;
}

} // namespace vimbrel
