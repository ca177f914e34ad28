#include "app/main_window/window_user_interface.h"

#include <QLabel>
#include <QProgressDialog>
#include <QTabWidget>

#include "app/main_window/desktop.h"
#include "app/main_window/form_controls.h"

namespace vimbrel {

WindowUserInterface::WindowUserInterface(QWidget* window, const FormControls& controls,
                                         Desktop& desktop)
    : mWindow(window), mControls(controls), mDesktop(desktop)
{
}

WindowUserInterface::~WindowUserInterface()
{
    delete mProgress;
}

void WindowUserInterface::showMessage(const std::string& text)
{
    // A message ends the work that was under way, so its progress box goes.
    endProgress();
    mDesktop.showMessage(mWindow, text);
}

void WindowUserInterface::endProgress()
{
    delete mProgress;
}

void WindowUserInterface::showFileCount(int count)
{
    mControls.StatusPanels[1]->setText(QString::number(count));
}

void WindowUserInterface::openViewer(const ViewerPages& pages, bool maximised)
{
    mDesktop.openViewer(pages, maximised);
}

void WindowUserInterface::setRenameTabEnabled(bool enabled)
{
    mControls.TabOther->setEnabled(enabled);
}

bool WindowUserInterface::reportProgress(int done, int total)
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
    mProgress->setMaximum(total > 0 ? total : 1);
    mProgress->setLabelText(QString::fromUtf8(kProgressText) +
                            QStringLiteral(" (%1 / %2)").arg(done).arg(total));
    // setValue lets the window repaint and the cancel button be pressed.
    mProgress->setValue(done < 0 ? 0 : (done > total ? total : done));
    const bool goOn = !mProgress->wasCanceled();
    if (!goOn || done >= total) {
        mProgress->deleteLater();
        mProgress = nullptr;
    }
    return goOn;
}

} // namespace vimbrel
