#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// main.htm: the picture frame; it holds the image PIC, which the viewer script
// sizes, and shows picture 0 when it has loaded.
void writeMainPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
