#pragma once

#include <memory>

#include "app/main_window/desktop.h"
#include "app/window_logic/window_desktop.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel {

class ViewerOpener;

// The desktop as a person meets it: QMessageBox, QFileDialog and the
// desktop's default programs.
class SystemDesktop : public Desktop
{
public:
    // `programFolder` (ending in "/") holds the viewer's Img/; empty means the
    // folder of the executable.
    explicit SystemDesktop(std::string programFolder = {}, ViewerServer::Limits limits = {});
    ~SystemDesktop() override;

    void showMessage(QWidget* owner, const std::string& text) override;
    void showError(QWidget* owner, const std::string& text) override;
    std::optional<std::string> chooseFolder(QWidget* owner, const std::string& title,
                                            const std::string& start) override;
    bool openViewer(const ViewerPages& pages, bool maximised) override;
    void openFolder(const std::string& folder) override;
    WindowDesktop::ViewerState viewerState() override;

    // Stops the viewer server, if one was started: false when a drawing of
    // it did not end in time (ViewerServer::stop).
    bool stopViewer();

private:
    std::string mProgramFolder;
    ViewerServer::Limits mLimits;
    // Made at the first Show run; its server runs until the program ends.
    std::unique_ptr<ViewerOpener> mOpener;
};

// Shown when the viewer server or the browser cannot be started.

// The caption of every box the tool shows.

} // namespace vimbrel
