#include "app/application.h"

#include <exception>

#include "app/main_window/desktop.h"
#include "app/program_picture.h"

namespace vimbrel {

Application::Application(int& argc, char** argv, Desktop& desktop)
    : QApplication(argc, argv), mDesktop(desktop)
{
    setApplicationName(QStringLiteral("Vimbrel"));
    setWindowIcon(programIcon());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        mDesktop.showError(activeWindow(), error.what());
    }
    return false;
}

} // namespace vimbrel
