#pragma once

#include <string>

#include "settings/options.h"
#include "settings/window_state.h"

namespace vimbrel {

class ProfileFile;

// The name of the settings file in the app folder.
inline constexpr const char* kSettingsFileName = "Vimbrel.INI";

// What LoadSettings found: the options, the window state, and the stored
// folder-tree path in its saved form.
struct LoadedSettings
{
    // Every option as stored, spin values clamped, blank extension lines
    // dropped. SmallFolder is the stored SMALL_PATH (ending in "/") when the
    // small-image position is 任意, else empty. A window that reopens the
    // tree with SelectTreePath (which empties SmallFolder) sets SmallFolder
    // from here afterwards.
    Options options;
    // Bounds and PAGE as stored (not checked against the screen); TreePath is
    // the stored path split into its captions.
    WindowState window;
    // IMAGE PATH as read: the comma text that SelectTreePath takes.
    std::string treePathText;
};

// appFolder + "Vimbrel.INI" (a "/" put between them when appFolder lacks one).
std::string settingsFilePath(const std::string& appFolder);

// Reads the settings file of `appFolder`. A missing, unreadable or damaged
// file, section or key gives the first-start value of what it lacks; nothing
// is created and nothing is thrown for the file's content.
LoadedSettings LoadSettings(const std::string& appFolder);

// The bytes SaveSettings would write: the current file (a missing one counts
// as empty) with every key set from `options` and `window`, in the order of
// the key table; other keys, sections and lines stay as they are. Throws
// FileError ("PATH に書き込めません") when an existing file cannot be read.
std::string settingsFileBytes(const std::string& appFolder, const Options& options,
                              const WindowState& window);

// Writes settingsFileBytes to the settings file in one step: a new file beside
// it replaces it, so a failure leaves the old file intact. A link to a plain
// file is followed. Throws FileError with "PATH に書き込めません" (PATH the
// settings file's full path) when the file cannot be written, including when
// it has no owner write permission.
void SaveSettings(const std::string& appFolder, const Options& options, const WindowState& window);

// The two halves of loading and saving over file text already in memory.
LoadedSettings readSettings(const ProfileFile& file);
void writeSettings(ProfileFile& file, const Options& options, const WindowState& window);

} // namespace vimbrel
