#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/app_folders.h"
#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "platform/user_interface.h"
#include "rename/journal_line.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"
#include "rename/rename_undo.h"
#include "settings/options.h"
#include "settings/settings_file.h"

namespace vimbrel::cli {
namespace {

// What `rename FOLDER [--app-folder DIR] [--dry-run]` or
// `rename --undo [--app-folder DIR]` was given.
struct RenameArguments
{
    std::string folder;
    std::string settingsFolder; // Vimbrel.INI and the journal
    bool dryRun = false;
    bool undo = false;
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
        } else if (args[i] == "--dry-run" && !parsed.dryRun) {
            parsed.dryRun = true;
        } else if (args[i] == "--undo" && !parsed.undo) {
            parsed.undo = true;
        } else if (args[i].rfind("--", 0) == 0 || haveFolder || args[i].empty()) {
            // An empty FOLDER would stand for the current folder.
            return false;
        } else {
            parsed.folder = args[i];
            haveFolder = true;
        }
    }
    parsed.settingsFolder =
        appFolder ? appFoldersIn(*appFolder).settings : appFoldersFor(programFolder).settings;
    // --undo takes back the last run wherever it was: it names no folder.
    return parsed.undo ? !haveFolder && !parsed.dryRun : haveFolder;
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
    const std::string journal = renameJournalPath(parsed.settingsFolder);
    RecordingInterface ui;
    if (parsed.undo) {
        const bool ran = UndoRename(journal, ui).ran;
        ui.writeTo(ran ? streams.out : streams.err);
        return ran ? 0 : 1;
    }
    const std::optional<std::string> absolute = fs::fullPath(parsed.folder);
    if (!absolute) {
        streams.err << "vimbrel-cli: " << parsed.folder << ": " << fs::errorText(sys::lastError())
                    << '\n';
        return 1;
    }
    const std::string folder = fs::withSeparator(*absolute);
    Options options = LoadSettings(parsed.settingsFolder).options;
    RenameRun run(options, ui, journal);
    if (parsed.dryRun) {
        // Paths below FOLDER, written as the journal writes names, so that
        // each rename stays on one line whatever its names hold.
        run.planOnly([&](const std::string& in, const std::string& from, const std::string& to) {
            const std::string below = in.substr(std::min(in.size(), folder.size()));
            streams.out << escapedName(below + from) << " → " << escapedName(below + to) << '\n';
        });
    }
    if (!run.BtnExecClick(folder)) {
        ui.writeTo(streams.err);
        return 1;
    }
    ui.writeTo(streams.out);
    streams.out << "COUNT=" << options.SpinFCnt << '\n';
    return 0;
}

} // namespace vimbrel::cli
