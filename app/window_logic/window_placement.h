#pragma once

#include <vector>

#include "app/window_logic/window_controls.h"

namespace vimbrel {

// Where to show a window whose stored place is `stored`, on a desktop whose
// monitors offer the work areas `screens`: as stored when any part of it
// lies on a monitor; otherwise moved (and, if larger, shrunk) into the work
// area nearest to it, so that a window last shown on a monitor that is gone
// comes back into sight. The stored place itself stays as it is.
WindowBounds placementOnScreens(const WindowBounds& stored,
                                const std::vector<WindowBounds>& screens);

} // namespace vimbrel
