#include "app/main_window/qt_window_desktop.h"

#include <QTimer>

#include "app/help_window.h"
#include "app/main_window/desktop.h"

namespace vimbrel {

QtWindowDesktop::QtWindowDesktop(QWidget* window, Desktop& desktop)
    : mWindow(window), mDesktop(desktop)
{
}

QtWindowDesktop::~QtWindowDesktop()
{
    delete mProgress;
}

void QtWindowDesktop::showMessage(const std::string& text)
{
    mDesktop.showMessage(mWindow, text);
}

void QtWindowDesktop::showError(const std::string& text)
{
    mDesktop.showError(mWindow, text);
}

std::optional<std::string> QtWindowDesktop::chooseFolder(const std::string& title,
                                                         const std::string& start)
{
    return mDesktop.chooseFolder(mWindow, title, start);
}

bool QtWindowDesktop::openViewer(const ViewerPages& pages, bool maximised)
{
    return mDesktop.openViewer(pages, maximised);
}

WindowDesktop::ViewerState QtWindowDesktop::viewerState()
{
    return mDesktop.viewerState();
}

void QtWindowDesktop::callLater(std::chrono::milliseconds delay, std::function<void()> work)
{
    // Tied to the window: a call still waiting when it goes is dropped.
    QTimer::singleShot(delay, mWindow, std::move(work));
}

void QtWindowDesktop::openFolder(const std::string& folder)
{
    mDesktop.openFolder(folder);
}

void QtWindowDesktop::showAbout()
{
    if (mAboutBox != nullptr) {
        mAboutBox->show();
        mAboutBox->raise();
        mAboutBox->activateWindow();
    }
}

void QtWindowDesktop::showHelp(const std::string& helpFile)
{
    if (mHelpWindow == nullptr) {
        mHelpWindow = new HelpWindow(helpFile, mWindow);
    }
    mHelpWindow->showContents();
}

bool QtWindowDesktop::showProgress(int done, int total)
{
    if (mProgress == nullptr) {
        mProgress = new QProgressDialog(mWindow);
        mProgress->setObjectName("Progress");
        mProgress->setWindowTitle(QStringLiteral("Vimbrel"));
        mProgress->setCancelButtonText(QStringLiteral("中止"));
        // Modal: the window repaints while the work goes on but takes no input.
        mProgress->setWindowModality(Qt::ApplicationModal);
        mProgress->setMinimumDuration(500);
        mProgress->setAutoClose(false);
        mProgress->setAutoReset(false);
    }
    mProgress->setMaximum(total);
    mProgress->setLabelText(QString::fromUtf8(kProgressText) +
                            QStringLiteral(" (%1 / %2)").arg(done).arg(total));
    // setValue lets the window repaint and the cancel button be pressed.
    mProgress->setValue(done);
    return !mProgress->wasCanceled();
}

void QtWindowDesktop::endProgress()
{
    if (mProgress != nullptr) {
        mProgress->deleteLater();
        mProgress = nullptr;
    }
}

} // namespace vimbrel
