#pragma once

#include "platform/user_interface.h"

namespace vimbrel {

class WindowControls;
class WindowDesktop;

// How the commands reach the person through the main window: messages
// through the desktop's boxes, the count in the status bar, the rename tab's
// state and the desktop's progress box for long work.
class WindowUserInterface : public UserInterface
{
public:
    WindowUserInterface(WindowControls& controls, WindowDesktop& desktop);

    void showMessage(const std::string& text) override;
    void showFileCount(int count) override;
    void openViewer(const ViewerPages& pages, bool maximised) override;
    void setRenameTabEnabled(bool enabled) override;
    bool reportProgress(int done, int total) override;
    void showNote(const std::string& text) override;

    // Closes the progress box of work that has ended.
    void endProgress();

private:
    WindowControls& mControls;
    WindowDesktop& mDesktop;
    bool mProgressShown = false;
};

} // namespace vimbrel
