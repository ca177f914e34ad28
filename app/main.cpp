#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDir>
#include <QSocketNotifier>

#include "app/about_box.h"
#include "app/application.h"
#include "app/main_window/main_window.h"
#include "app/main_window/system_desktop.h"
#include "platform/stop_signals.h"

int main(int argc, char* argv[])
{
    vimbrel::SystemDesktop desktop;
    vimbrel::Application application(argc, argv, desktop);
    int code = 0;
    {
        // The main window comes first and loads the settings as it is built;
        // the About box is made once, hidden, and only ever shown and hidden
        // again.
        vimbrel::TForm1 window(desktop);
        vimbrel::TAboutBox aboutBox(&window);
        window.setAboutBox(&aboutBox);
        // vimbrel [FOLDER]: a folder given (by a file manager's "Open with",
        // say) is chosen in the tree. Qt has taken its own options out of
        // argv already; the name stays the bytes it was, whatever their
        // encoding.
        if (argc > 1 && argv[1][0] != '\0') {
            std::string folder = argv[1];
            if (folder.front() != '/') {
                folder = QDir::cleanPath(
                             QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])))
                             .toLocal8Bit()
                             .toStdString();
            }
            window.StartWithFolder(folder);
        }
        window.show();
        // SIGTERM (the session ending, `kill`) and SIGINT close the windows
        // as the person would, so that the settings are saved and Work/ is
        // cleaned up as asked.
        vimbrel::StopSignals stopSignals;
        QSocketNotifier stopped(stopSignals.readable(), QSocketNotifier::Read);
        stopped.setEnabled(stopSignals.armed());
        QObject::connect(&stopped, &QSocketNotifier::activated, &application, [] {
            QApplication::closeAllWindows();
            QCoreApplication::quit();
        });
        code = vimbrel::Application::exec();
    } // the window saves its settings here
    if (!desktop.stopViewer()) {
        // A drawing of the viewer server did not end in time; its thread must
        // not meet the program's exit handlers.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
