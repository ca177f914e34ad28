#pragma once

#include <QPointer>
#include <QProgressDialog>

#include "app/window_logic/window_desktop.h"

class QWidget;

namespace vimbrel {

class Desktop;
class HelpWindow;

// The desktop as the Qt window reaches it: the boxes and choosers of
// `desktop` owned by the window, the About box, the help window and a modal
// progress box with a cancel button.
class QtWindowDesktop : public WindowDesktop
{
public:
    QtWindowDesktop(QWidget* window, Desktop& desktop);
    ~QtWindowDesktop() override;

    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;
    bool openViewer(const ViewerPages& pages, bool maximised) override;
    void openFolder(const std::string& folder) override;
    void showAbout() override;
    void showHelp(const std::string& helpFile) override;
    bool showProgress(int done, int total) override;
    void endProgress() override;
    ViewerState viewerState() override;
    void callLater(std::chrono::milliseconds delay, std::function<void()> work) override;

    // The box BtnVer shows; the window does not own it.
    void setAboutBox(QWidget* aboutBox) { mAboutBox = aboutBox; }
    HelpWindow* helpWindow() const { return mHelpWindow; }
    // The progress box of the work under way, or null when there is none.
    QProgressDialog* progressDialog() const { return mProgress; }

private:
    QWidget* mWindow;
    Desktop& mDesktop;
    QWidget* mAboutBox = nullptr;
    HelpWindow* mHelpWindow = nullptr;
    QPointer<QProgressDialog> mProgress;
};

} // namespace vimbrel
