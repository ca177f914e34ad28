#pragma once

#include <string>
#include <vector>

#include "viewer/jpeg_decoder.h"
#include "viewer/small_image_maker.h"

namespace vimbrel {

// How a run of the small image maker does its work. The small images and
// SmallNames are the same for every choice.
struct SmallImageSettings
{
    DecodeMode mode = DecodeMode::KeptRowsOnly;
};

// MakeSmallImages with explicit settings.
SmallImageResult makeSmallImagesWith(const std::vector<std::string>& imageNames,
                                     const SmallImageJob& job, UserInterface& ui,
                                     const SmallImageSettings& settings);

} // namespace vimbrel
