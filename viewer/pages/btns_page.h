#pragma once

#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel {

// btns.htm: the table of twenty image buttons that drive the viewer script.
// It depends on the button prefix and the three intervals alone.
void writeBtnsPage(PageFile& page, const PageValues& values);

} // namespace vimbrel
