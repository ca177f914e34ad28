#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// sum_frame.htm: the frameset of the thumbnail window and its script, which
// holds the window's state (names, prefixes, page, cell size) and functions.
void writeSumFramePage(PageFile& page, const PageValues& values);

} // namespace vimbrel
