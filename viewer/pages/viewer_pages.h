#pragma once

#include <string>

#include "viewer/pages/page_values.h"

namespace vimbrel {

// Writes the seven pages of the viewer into `WorkFolder`, in the order
// index.htm, menu.htm, btns.htm, main.htm, sum_frame.htm, sum_head.htm,
// sum_main.htm, each replaced as a whole and closed before the next is begun.
// A page that cannot be written throws FileError: the pages before it stay as
// written and the later ones keep their earlier content. `values` must hold at
// least one picture.
void writeViewerPages(const std::string& WorkFolder, const PageValues& values);

} // namespace vimbrel
