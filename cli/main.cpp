#include <iostream>

#include "cli/commands.h"
#include "cli/picture_session.h"
#include "platform/program.h"

int main(int argc, char* argv[])
{
    using namespace vimbrel;
    using namespace vimbrel::cli;
    const program::Utf8Console console;
    const Streams streams{std::cout, std::cerr};
    const std::vector<std::string> words = program::arguments(argc, argv);
    if (words.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const PictureSession pictures(argv[0]);
    const std::string& command = words.front();
    const std::vector<std::string> args(words.begin() + 1, words.end());
    const std::string folder = program::folder(argv[0]);
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
