#pragma once

#include <string>

// The person's own folders that the tool falls back to where its program
// folder cannot be written; each ends in the separator and is not made here.
namespace vimbrel::user_folders {

// POSIX: $XDG_CONFIG_HOME/vimbrel/ (~/.config/vimbrel/); Windows: %APPDATA%\Vimbrel\.
std::string settings();

// POSIX: $XDG_DATA_HOME/vimbrel/ (~/.local/share/vimbrel/); Windows: %LOCALAPPDATA%\Vimbrel\.
std::string data();

// True when files can be made in `folder`.
bool canWrite(const std::string& folder);

} // namespace vimbrel::user_folders
