#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "platform/app_folders.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"

namespace vimbrel::cli {
namespace {

struct SettingsArguments
{
    std::string appFolder;
    bool write = false;
};

// The arguments of `settings`, or nothing when they are wrong.
std::optional<SettingsArguments> parseArguments(const std::vector<std::string>& args,
                                                const std::string& programFolder)
{
    SettingsArguments parsed;
    std::optional<std::string> folder;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--write" && !parsed.write) {
            parsed.write = true;
        } else if (args[i] == "--app-folder" && !folder && i + 1 < args.size() &&
                   !args[i + 1].empty()) {
            folder = args[++i];
        } else {
            return std::nullopt;
        }
    }
    if (!folder) {
        parsed.appFolder = appFoldersFor(programFolder).settings;
        return parsed;
    }
    const std::optional<std::string> absolute = fs::fullPath(*folder);
    if (!absolute) {
        return std::nullopt;
    }
    parsed.appFolder = fs::withSeparator(*absolute);
    return parsed;
}

} // namespace

int runSettings(const std::vector<std::string>& args, const std::string& programFolder,
                Streams streams)
{
    const std::optional<SettingsArguments> parsed = parseArguments(args, programFolder);
    if (!parsed) {
        streams.err << kUsage;
        return 2;
    }
    const LoadedSettings loaded = LoadSettings(parsed->appFolder);
    try {
        if (parsed->write) {
            SaveSettings(parsed->appFolder, loaded.options, loaded.window);
        } else {
            streams.out << settingsFileBytes(parsed->appFolder, loaded.options, loaded.window);
            streams.out.flush();
        }
    } catch (const FileError& error) {
        streams.err << error.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vimbrel::cli
