#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/commands.h"
#include "cli/serve_viewer.h"
#include "cli/stream_interface.h"
#include "platform/app_folders.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/program.h"
#include "settings/settings_file.h"
#include "viewer/show/show_command.h"

namespace vimbrel::cli {
namespace {

// What to do once the pages are written.
enum class AfterShow
{
    PrintPath, // print the path of index.htm and end
    Serve,     // --serve
    Open,      // --open
};

struct ShowArguments
{
    std::string pictureFolder;
    std::optional<std::string> appFolder;
    AfterShow after = AfterShow::PrintPath;
};

std::optional<ShowArguments> parseArguments(const std::vector<std::string>& args)
{
    ShowArguments parsed;
    bool haveFolder = false;
    bool haveAfter = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--app-folder") {
            if (parsed.appFolder || i + 1 >= args.size()) {
                return std::nullopt;
            }
            parsed.appFolder = args[++i];
        } else if (arg == "--serve" || arg == "--open") {
            if (haveAfter) {
                return std::nullopt;
            }
            haveAfter = true;
            parsed.after = arg == "--serve" ? AfterShow::Serve : AfterShow::Open;
        } else if (arg.size() > 1 && arg.front() == '-' && arg != "--") {
            return std::nullopt;
        } else {
            if (haveFolder) {
                return std::nullopt;
            }
            haveFolder = true;
            parsed.pictureFolder = arg;
        }
    }
    if (!haveFolder) {
        return std::nullopt;
    }
    return parsed;
}

// An absolute folder path with a trailing "/", or "" for "".
std::string absoluteFolder(const std::string& path)
{
    if (path.empty()) {
        return path;
    }
    return fs::withSeparator(fs::fullPath(path).value_or(path));
}

} // namespace

int runShow(const std::vector<std::string>& args, const std::string& programFolder, Streams streams)
{
    const std::optional<ShowArguments> parsed = parseArguments(args);
    if (!parsed) {
        streams.err << kUsage;
        return 2;
    }
    try {
        const AppFolders folders = parsed->appFolder
                                       ? appFoldersIn(absoluteFolder(*parsed->appFolder))
                                       : appFoldersFor(absoluteFolder(programFolder));
        const std::string pictureFolder = absoluteFolder(parsed->pictureFolder);
        Options options = LoadSettings(folders.settings).options;
        const bool toTerminal = &streams.err == &std::cerr && program::errorIsTerminal();
        StreamInterface ui(streams.err, toTerminal);
        ShowState state;
        BtnShowClick(options, pictureFolder, folders.data, state, ui);
        if (!ui.viewer()) {
            return 1;
        }
        streams.out << ui.viewer()->indexPath << std::endl;
        if (parsed->after == AfterShow::PrintPath) {
            return 0;
        }
        return serveViewer(*ui.viewer(), folders.program, parsed->after == AfterShow::Open,
                           ui.maximised(), streams);
    } catch (const FileError& error) {
        streams.err << error.what() << '\n';
        return 1;
    } catch (const std::exception& error) {
        streams.err << "vimbrel-cli: " << error.what() << '\n';
        return 1;
    }
}

} // namespace vimbrel::cli
