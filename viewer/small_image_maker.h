#pragma once

#include <string>
#include <vector>

namespace vimbrel {

class UserInterface;

// What one Show run asks of the small image maker.
struct SmallImageJob
{
    std::string SelectedFolder; // the picture folder, ending in "/"
    std::string SmallTarget;    // the folder that receives the small images, ending in "/"
    bool ChkFSub = true;        // 差分作成: keep small files that exist already
};

struct SmallImageResult
{
    // Parallel to the picture names: each picture's small name, or "" where
    // it has none. Always as many entries as pictures.
    std::vector<std::string> SmallNames;
    // The person stopped the run from the progress report; the small images
    // written so far stay.
    bool cancelled = false;
};

// Writes a small JPEG 100 pixels wide of each picture of `imageNames` into
// job.SmallTarget. A picture that fails only empties its own entry. Progress
// goes to ui.reportProgress on the calling thread; a false answer stops the
// run between pictures.
SmallImageResult MakeSmallImages(const std::vector<std::string>& imageNames,
                                 const SmallImageJob& job, UserInterface& ui);

} // namespace vimbrel
