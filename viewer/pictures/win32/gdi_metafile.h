#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "viewer/pictures/draw_budget.h"
#include "viewer/pictures/raster.h"

// Windows metafiles drawn by Windows itself: GDI plays an EMF, or a WMF
// turned into one (SetWinMetaFileBits, the placeable header's frame and
// resolution honoured), into a bitmap at the picture's own size on white.
// The size follows the same rules as the tool's player on Linux: 96 pixels
// an inch; an EMF's frame (its bounds where the frame is empty); a placeable
// WMF's box at its units per inch; a plain WMF's first window, scaled by a
// metric mapping mode or else to at most 2048 pixels a side, or without a
// window the bounds of its drawing. Pictures beyond the picture limits, and
// damaged files, give a null raster. GDI plays the records one by one, and
// the drawing stops with a null raster once `budget` says so.
namespace vimbrel::gdi {

Raster drawMetafile(std::span<const uint8_t> file, DrawBudget& budget);

// The metafile at `path` (a plain file of at most 256 MB).
Raster loadMetafile(const std::string& path, DrawBudget& budget);

} // namespace vimbrel::gdi
