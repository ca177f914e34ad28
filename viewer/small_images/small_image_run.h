#pragma once

#include <string>
#include <vector>

#include "viewer/pictures/jpeg_decoder.h"

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
    // The pictures that got no small image because drawing them took more
    // work than a picture may (metafiles asking for endless drawing), in
    // list order.
    std::vector<std::string> tooMuchWork;
};

// How a run of the small image maker does its work. The small images and
// SmallNames are the same, byte for byte, for every choice.
struct SmallImageSettings
{
    DecodeMode mode = DecodeMode::KeptRowsOnly;
    // Worker threads; 0 means one per processor core the process may use.
    int workers = 0;
};

// Writes a small JPEG 100 pixels wide of each picture of `imageNames` into
// job.SmallTarget. A picture that fails only empties its own entry. Progress
// goes to ui.reportProgress on the calling thread; a false answer stops the
// run between pictures.
//
// Pictures are shared out among the workers, except that pictures with the
// same small name (a.bmp and a.jpg) are made by one worker one after the
// other in list order, so that each sees what the one before it left,
// exactly as in a run on one thread.
SmallImageResult MakeSmallImages(const std::vector<std::string>& imageNames,
                                 const SmallImageJob& job, UserInterface& ui,
                                 const SmallImageSettings& settings = {});

} // namespace vimbrel
