#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "platform/user_interface.h"
#include "rename/rename_run.h"
#include "settings/options.h"
#include "settings/settings_file.h"

namespace vimbrel::cli {
namespace {

// What `rename FOLDER [--app-folder DIR]` was given.
struct RenameArguments
{
    std::string folder;
    std::string appFolder;
};

bool parseArguments(const std::vector<std::string>& args, const std::string& programFolder,
                    RenameArguments& parsed)
{
    std::optional<std::string> appFolder;
    bool haveFolder = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--app-folder") {
            if (appFolder || i + 1 >= args.size() || args[i + 1].empty()) {
                return false;
            }
            appFolder = args[++i];
        } else if (args[i].rfind("--", 0) == 0 || haveFolder || args[i].empty()) {
            // An empty FOLDER would stand for the current folder.
            return false;
        } else {
            parsed.folder = args[i];
            haveFolder = true;
        }
    }
    parsed.appFolder = fs::withSeparator(appFolder ? *appFolder : programFolder);
    return haveFolder;
}

// Collects the messages of a run; the command decides afterwards which
// stream they belong on.
class RecordingInterface : public UserInterface
{
public:
    void showMessage(const std::string& text) override { mMessages.push_back(text); }
    void showFileCount(int) override {}
    void openViewer(const ViewerPages&, bool) override {}
    void setRenameTabEnabled(bool) override {}
    bool reportProgress(int, int) override { return true; }

    void writeTo(std::ostream& stream) const
    {
        for (std::string message : mMessages) {
            // Messages break their lines with single CR characters.
            std::replace(message.begin(), message.end(), '\r', '\n');
            stream << message << '\n';
        }
    }

private:
    std::vector<std::string> mMessages;
};

} // namespace

int runRename(const std::vector<std::string>& args, const std::string& programFolder,
              Streams streams)
{
    RenameArguments parsed;
    if (!parseArguments(args, programFolder, parsed)) {
        streams.err << kUsage;
        return 2;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(parsed.folder, error);
    if (error) {
        streams.err << "vimbrel-cli: " << parsed.folder << ": " << error.message() << '\n';
        return 1;
    }
    Options options = LoadSettings(parsed.appFolder).options;
    RecordingInterface ui;
    RenameRun run(options, ui);
    if (!run.BtnExecClick(fs::withSeparator(absolute.string()))) {
        ui.writeTo(streams.err);
        return 1;
    }
    ui.writeTo(streams.out);
    streams.out << "COUNT=" << options.SpinFCnt << '\n';
    return 0;
}

} // namespace vimbrel::cli
