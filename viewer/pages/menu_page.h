#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// menu.htm: one entry per picture, as a small picture (RdoPic), a number
// counted from 1 (RdoNum) or the file name (otherwise); each selects its
// picture in the viewer.
void writeMenuPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
