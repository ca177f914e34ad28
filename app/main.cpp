#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <QDir>
#include <QSocketNotifier>

#include "app/about_box.h"
#include "app/application.h"
#include "app/main_window/main_window.h"
#include "app/main_window/system_desktop.h"
#include "app/program_lifetime.h"
#include "app/single_instance.h"
#include "platform/stop_signals.h"

namespace {

// vimbrel [FOLDER]: a folder given (by a file manager's "Open with", say),
// made absolute. Qt has taken its own options out of argv already; the name
// stays the bytes it was, whatever their encoding.
std::string folderArgument(int argc, char* argv[])
{
    if (argc < 2 || argv[1][0] == '\0') {
        return {};
    }
    std::string folder = argv[1];
    if (folder.front() != '/') {
        folder = QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])))
                     .toLocal8Bit()
                     .toStdString();
    }
    return folder;
}

// The viewer server's limits. VIMBREL_VIEWER_PATIENCE_SECONDS, for tests
// only, shortens how long a viewer window may stay silent before it counts
// as gone.
vimbrel::ViewerServer::Limits serverLimits()
{
    vimbrel::ViewerServer::Limits limits;
    if (const char* patience = std::getenv("VIMBREL_VIEWER_PATIENCE_SECONDS")) {
        const long seconds = std::strtol(patience, nullptr, 10);
        if (seconds > 0) {
            limits.viewerPatienceSeconds = unsigned(seconds);
        }
    }
    return limits;
}

} // namespace

int main(int argc, char* argv[])
{
    vimbrel::SystemDesktop desktop({}, serverLimits());
    vimbrel::Application application(argc, argv, desktop);
    const std::string folder = folderArgument(argc, argv);
    // One program for each person: a later start hands its folder to the
    // first, which shows its window, and ends.
    vimbrel::SingleInstance instance(vimbrel::SingleInstance::runtimeFolder());
    if (!instance.first()) {
        if (instance.handOver(folder)) {
            return 0;
        }
        std::cerr << "vimbrel: another Vimbrel holds " << instance.lockPath().toStdString()
                  << " and does not answer\n";
        return 1;
    }
    int code = 0;
    {
        // The main window comes first and loads the settings as it is built;
        // the About box is made once, hidden, and only ever shown and hidden
        // again.
        vimbrel::TForm1 window(desktop);
        vimbrel::TAboutBox aboutBox(&window);
        window.setAboutBox(&aboutBox);
        if (!folder.empty()) {
            window.StartWithFolder(folder);
        }
        vimbrel::ProgramLifetime lifetime(window);
        QObject::connect(&instance, &vimbrel::SingleInstance::activated, &lifetime,
                         &vimbrel::ProgramLifetime::showAgain);
        // SIGTERM (the session ending, `kill`) and SIGINT end the program at
        // once, as closing would, with the settings saved and Work/ cleaned
        // up as asked.
        vimbrel::StopSignals stopSignals;
        QSocketNotifier stopped(stopSignals.readable(), QSocketNotifier::Read);
        stopped.setEnabled(stopSignals.armed());
        QObject::connect(&stopped, &QSocketNotifier::activated, &lifetime,
                         &vimbrel::ProgramLifetime::stop);
        code = lifetime.run();
    }
    if (!desktop.stopViewer()) {
        // A drawing of the viewer server did not end in time; its thread must
        // not meet the program's exit handlers.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
