#pragma once

#include <optional>
#include <string>

#include "app/window_logic/window_desktop.h"
#include "platform/user_interface.h"

class QWidget;

namespace vimbrel {

// What the main window asks of the desktop: the modal boxes, the folder
// chooser and the programs that open the viewer and folders. The window reaches
// the desktop only through this, so that tests can answer in place of a person.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // A modal message, no icon, one OK button, caption "Vimbrel", centred on
    // the screen. CR characters in `text` break its lines.
    virtual void showMessage(QWidget* owner, const std::string& text) = 0;

    // The general error box: the error's text with the stop icon and the
    // caption "Vimbrel".
    virtual void showError(QWidget* owner, const std::string& text) = 0;

    // The modal folder chooser. `start` is selected when it names a folder.
    // The chosen folder's path, or nothing when the person cancels.
    virtual std::optional<std::string> chooseFolder(QWidget* owner, const std::string& title,
                                                    const std::string& start) = 0;

    // Opens the pages of a Show run in the browser; does not wait. False when
    // the browser could not be asked.
    virtual bool openViewer(const ViewerPages& pages, bool maximised) = 0;

    // Opens `folder` in the desktop's file manager.
    virtual void openFolder(const std::string& folder) = 0;

    // The viewer the tool serves, as far as the window needs to know it.
    virtual WindowDesktop::ViewerState viewerState() = 0;
};

} // namespace vimbrel
