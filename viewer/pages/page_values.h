#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/options.h"

namespace vimbrel {

// What the page writers of one Show run are given: the options as they stand,
// the two name lists and the values the run computed.
struct PageValues
{
    const Options& options;
    const std::vector<std::string>& ImageNames;
    // Parallel to ImageNames; read only when small images were made.
    const std::vector<std::string>& SmallNames;
    std::string PicturePath; // URL prefix of the pictures, seen from WorkFolder
    std::string SmallPath;   // URL prefix of the small images, "" when none are made
    std::string ButtonPath;  // URL prefix of the button images
    int64_t Interval1 = 0;   // slide-show intervals in milliseconds
    int64_t Interval2 = 0;
    int64_t Interval3 = 0;

    // The small-image name of picture i, or "" where it has none.
    const std::string& smallNameOf(size_t i) const;
};

} // namespace vimbrel
