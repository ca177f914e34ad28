#include "app/program_lifetime.h"

#include <QApplication>
#include <QEvent>

#include "app/main_window/main_window.h"

namespace vimbrel {

ProgramLifetime::ProgramLifetime(TForm1& window, std::chrono::milliseconds look) : mWindow(window)
{
    mLook.setInterval(look);
    connect(&mLook, &QTimer::timeout, this, [this] {
        if (!mWindow.ViewerStillOpen()) {
            mLook.stop();
            QCoreApplication::quit();
        }
    });
    mWindow.installEventFilter(this);
}

int ProgramLifetime::run()
{
    // The program decides itself when it ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    mWindow.show();
    const int code = QApplication::exec();
    mLook.stop();
    mWindow.FormDestroy();
    return code;
}

bool ProgramLifetime::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &mWindow && event->type() == QEvent::Close) {
        // Once the window's own handling (saving) is done.
        QTimer::singleShot(0, this, [this] {
            if (!mWindow.isVisible()) {
                windowClosed();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

void ProgramLifetime::windowClosed()
{
    if (mWindow.ViewerStillOpen()) {
        mLook.start();
    } else {
        QCoreApplication::quit();
    }
}

void ProgramLifetime::showAgain(const QByteArray& folder)
{
    mLook.stop();
    if (mWindow.isMinimized()) {
        mWindow.showNormal();
    } else {
        mWindow.show();
    }
    mWindow.raise();
    mWindow.activateWindow();
    if (!folder.isEmpty()) {
        mWindow.StartWithFolder(folder.toStdString());
    }
}

void ProgramLifetime::stop()
{
    mLook.stop();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

} // namespace vimbrel
