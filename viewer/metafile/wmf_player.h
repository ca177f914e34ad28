#pragma once

#include <cstdint>
#include <span>

#include <QImage>

#include "viewer/pictures/draw_budget.h"

namespace vimbrel {

// Draws a Windows metafile (WMF, with or without the placeable header) at its
// own size on white. A null image when the file is damaged or claims a
// picture larger than the player draws, and when the drawing goes beyond
// `budget`. `drawText` is false where no font system is available; text
// records are then skipped.
QImage playWmf(std::span<const uint8_t> file, bool drawText, DrawBudget& budget);

} // namespace vimbrel
