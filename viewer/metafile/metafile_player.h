#pragma once

#include <cstdint>
#include <span>

#include <QImage>

#include "viewer/pictures/draw_budget.h"

namespace vimbrel {

// Draws the metafile held in `bytes` (EMF, or WMF with or without the
// placeable header) at its own size on white; a null image when it cannot be
// drawn, also when the drawing goes beyond `budget`. Text is drawn only where
// a GUI application provides the fonts.
QImage playMetafile(std::span<const uint8_t> bytes, DrawBudget& budget);

} // namespace vimbrel
