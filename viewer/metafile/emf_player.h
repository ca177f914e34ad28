#pragma once

#include <cstdint>
#include <span>

#include <QImage>

#include "viewer/pictures/draw_budget.h"

namespace vimbrel {

// Draws an enhanced metafile (EMF) at the size of the frame in its header on
// white. A null image when the file is damaged or claims a picture larger
// than the player draws, and when the drawing goes beyond `budget`.
// `drawText` is false where no font system is available; text records are
// then skipped.
QImage playEmf(std::span<const uint8_t> file, bool drawText, DrawBudget& budget);

// True when `file` starts with an EMF header record.
bool looksLikeEmf(std::span<const uint8_t> file);

} // namespace vimbrel
