#pragma once

#include <string>
#include <vector>

namespace vimbrel {

// The window state that the settings file keeps beside the options: the
// window's bounds, the active tab and the folder tree's path to the chosen
// folder. The window applies it at start and fills it in before saving.
struct WindowState
{
    int Top = 100;
    int Left = 100;
    int Width = 400;
    int Height = 350;
    // PAGE as stored: 0 opens on 場所, anything else on 表示.
    int Page = 0;
    // The captions of the folder-tree items from below the root down to the
    // chosen folder, outermost first.
    std::vector<std::string> TreePath;
};

} // namespace vimbrel
