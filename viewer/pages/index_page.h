#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// index.htm: the frameset of the viewer and its script, which holds the list
// of pictures, the viewer's state and every function the other pages call.
void writeIndexPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
