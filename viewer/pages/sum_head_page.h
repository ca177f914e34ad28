#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// sum_head.htm: the strip above the thumbnails with the picture count, the
// cell-size links, a link per page and the page number.
void writeSumHeadPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
