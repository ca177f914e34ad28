#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "viewer/pictures/raster.h"

#include "viewer/pictures/dib_format.h"

namespace vimbrel::dib {

// Run-length encoded bitmaps: RLE8, RLE4 and OS/2's RLE24, with their line
// ends, deltas and early ends. Pixels the runs never reach are palette colour
// 0 (black for RLE24), as most programs show them. A null image for a
// top-down run-length bitmap, which the format does not allow.
Raster decodeRunLength(const Header& header, const std::vector<Colour>& colours,
                       std::span<const uint8_t> bits);

} // namespace vimbrel::dib
