#pragma once

#include <string>
#include <vector>

#include "viewer/jpeg_decoder.h"
#include "viewer/small_image_maker.h"

namespace vimbrel {

// How a run of the small image maker does its work. The small images and
// SmallNames are the same, byte for byte, for every choice.
struct SmallImageSettings
{
    DecodeMode mode = DecodeMode::KeptRowsOnly;
    // Worker threads; 0 means one per processor core the process may use.
    int workers = 0;
};

// MakeSmallImages with explicit settings. Pictures are shared out among the
// workers, except that pictures with the same small name (a.bmp and a.jpg)
// are made by one worker one after the other in list order, so that each
// sees what the one before it left, exactly as in a run on one thread.
SmallImageResult makeSmallImagesWith(const std::vector<std::string>& imageNames,
                                     const SmallImageJob& job, UserInterface& ui,
                                     const SmallImageSettings& settings);

} // namespace vimbrel
