#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// sum_main.htm: the script that writes the thumbnails of the current page,
// with the file names under them or in a row of their own when asked.
void writeSumMainPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
