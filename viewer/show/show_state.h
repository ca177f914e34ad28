#pragma once

#include <string>
#include <vector>

namespace vimbrel {

// The lists the main window owns for the Show command: filled by each run and
// kept until the next one. The rename run keeps a list of its own.
struct ShowState
{
    // The pictures' file names, without folder, in viewer order; a picture's
    // number is its index here.
    std::vector<std::string> ImageNames;
    // Parallel to ImageNames: each picture's small-image name, or "" where it
    // has none. Only meaningful after a run that made small images.
    std::vector<std::string> SmallNames;
};

} // namespace vimbrel
