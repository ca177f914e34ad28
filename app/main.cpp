#include <string>

#include <QDir>

#include "app/about_box.h"
#include "app/application.h"
#include "app/main_window/main_window.h"
#include "app/main_window/system_desktop.h"

int main(int argc, char* argv[])
{
    vimbrel::SystemDesktop desktop;
    vimbrel::Application application(argc, argv, desktop);
    // The main window comes first and loads the settings as it is built; the
    // About box is made once, hidden, and only ever shown and hidden again.
    vimbrel::TForm1 window(desktop);
    vimbrel::TAboutBox aboutBox(&window);
    window.setAboutBox(&aboutBox);
    // vimbrel [FOLDER]: a folder given (by a file manager's "Open with", say)
    // is chosen in the tree. Qt has taken its own options out of argv already;
    // the name stays the bytes it was, whatever their encoding.
    if (argc > 1 && argv[1][0] != '\0') {
        std::string folder = argv[1];
        if (folder.front() != '/') {
            folder =
                QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])))
                    .toLocal8Bit()
                    .toStdString();
        }
        window.StartWithFolder(folder);
    }
    window.show();
    return vimbrel::Application::exec();
}
