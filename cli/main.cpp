#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include <QGuiApplication>

#include "cli/commands.h"

namespace {

// The folder that holds this program, ending in "/": the default app folder.
std::string programFolder(const char* argv0)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        self = std::filesystem::absolute(argv0, error);
    }
    std::string folder = self.parent_path().string();
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// Metafile text needs fonts and --open needs the desktop, both of which come
// with a GUI application. Without a display it runs on the offscreen platform.
void useOffscreenWithoutDisplay()
{
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (!isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace vimbrel::cli;
    const Streams streams{std::cout, std::cerr};
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    useOffscreenWithoutDisplay();
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    const std::string folder = programFolder(argv[0]);
    if (command == "settings") {
        return runSettings(args, folder, streams);
    }
    if (command == "show") {
        return runShow(args, folder, streams);
    }
    if (command == "rename") {
        return runRename(args, folder, streams);
    }
    std::cerr << kUsage;
    return 2;
}
