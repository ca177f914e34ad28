#pragma once

#include <QPointer>
#include <QProgressDialog>

#include "platform/user_interface.h"

class QWidget;

namespace vimbrel {

class Desktop;
struct FormControls;

// How the commands reach the person through the main window: messages through
// the desktop's boxes, the count in the status bar, the rename tab's state and
// a modal progress box with a cancel button for long work.
class WindowUserInterface : public UserInterface
{
public:
    WindowUserInterface(QWidget* window, const FormControls& controls, Desktop& desktop);
    ~WindowUserInterface() override;

    void showMessage(const std::string& text) override;
    void showFileCount(int count) override;
    void openViewer(const ViewerPages& pages, bool maximised) override;
    void setRenameTabEnabled(bool enabled) override;
    bool reportProgress(int done, int total) override;

    // Closes the progress box of work that has ended.
    void endProgress();

    // The progress box of the work under way, or null when there is none.
    QProgressDialog* progressDialog() const { return mProgress; }

private:
    QWidget* mWindow;
    const FormControls& mControls;
    Desktop& mDesktop;
    QPointer<QProgressDialog> mProgress;
};

// The progress box's text; the count of done pictures follows it.
inline constexpr const char* kProgressText = "小画像を作成しています";

} // namespace vimbrel
