#pragma once

#include <string>

#include "settings/options.h"
#include "viewer/show/show_state.h"

namespace vimbrel {

class UserInterface;

// The 表示 button. Cleans the two extension lists, checks that a picture
// folder is chosen and exists and that AppFolder + "Work/" exists or can be
// created, then runs BuildViewer. Every stop is a message through `ui`; a page
// that cannot be written throws FileError, which the caller's general error
// handler shows. `SelectedFolder` is "" until a folder is chosen; both folders
// end in "/".
void BtnShowClick(Options& options, const std::string& SelectedFolder, const std::string& AppFolder,
                  ShowState& state, UserInterface& ui);

// The Show command's worker: lists, filters, sorts and orders the pictures of
// `SelectedFolder` into state.ImageNames, makes the small images, writes the
// seven pages into `WorkFolder` and opens the viewer. True when the pages were
// written and the viewer was asked to open; false when it stopped with a
// message, or without one when the person stopped the small images.
bool BuildViewer(const Options& options, const std::string& SelectedFolder,
                 const std::string& WorkFolder, ShowState& state, UserInterface& ui);

} // namespace vimbrel
