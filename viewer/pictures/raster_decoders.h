#pragma once

#include <cstdint>
#include <span>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// Decodes a whole picture file into RGB888 with transparency laid on white;
// a null raster when it cannot.
using RasterDecoder = Raster (*)(std::span<const std::uint8_t> file);

// The decoders of bitmaps and icons this platform has; a missing one (null)
// leaves its pictures without small images.
struct RasterDecoders
{
    RasterDecoder bitmap = nullptr; // .bmp
    RasterDecoder icon = nullptr;   // .ico: the largest image it holds
};

// What this platform registers: on Linux the tool's DIB decoder and Qt's
// icon reader.
const RasterDecoders& platformRasterDecoders();

} // namespace vimbrel
