#pragma once

#include <string>

#include "settings/options.h"

namespace vimbrel {

// Where the small images of one Show run go, or why the run must stop.
struct SmallTargetChoice
{
    std::string SmallTarget; // ends in "/"; "" when no small images are made
    std::string message;     // not empty: the run stops with this message
};

// Chooses the folder for the small images from the 小画像作成 buttons: none
// (RdoFNon), "img_s/" in the picture folder (RdoFDwon, created when missing),
// WorkFolder (RdoFWork) or SmallFolder (RdoFETC). Small images are never
// written into the picture folder itself, where they could replace pictures
// of the same name: a choice that names it, in any spelling, is refused.
SmallTargetChoice ChooseSmallTarget(const Options& options, const std::string& SelectedFolder,
                                    const std::string& WorkFolder);

} // namespace vimbrel
