#pragma once

#include <string>

namespace vimbrel {

// Where the tool finds its own files and keeps the person's. All end in the
// separator.
struct AppFolders
{
    std::string program;  // vimbrel, vimbrel-cli, Img/ and Vimbrel.html
    std::string settings; // Vimbrel.INI and the rename journal
    std::string data;     // the AppFolder of the Show runs: Work/ lies in it
};

// Everything in `folder`: the tool as built or copied anywhere, and
// vimbrel-cli's --app-folder.
AppFolders appFoldersIn(const std::string& folder);

// The folders for the programs in `programFolder`: that folder alone when it
// can be written (the app folder as built, or copied anywhere); otherwise,
// as where the tool is installed for all users, the settings in
// $XDG_CONFIG_HOME/vimbrel/ and Work/ in $XDG_DATA_HOME/vimbrel/ (by default
// ~/.config and ~/.local/share), on Windows in %APPDATA%\Vimbrel\ and
// %LOCALAPPDATA%\Vimbrel\Work\, made when missing.
AppFolders appFoldersFor(const std::string& programFolder);
// The same with the answer to "can the program folder be written" given.
AppFolders appFoldersFor(const std::string& programFolder, bool programWritable);

} // namespace vimbrel
