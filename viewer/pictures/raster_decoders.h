#pragma once

#include <cstdint>
#include <span>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// The largest image of a Windows icon file as RGB888 with transparency laid
// on white, through the platform's reader (Qt on Linux, WIC on Windows); a
// null raster when it cannot be read.
Raster decodeIconFile(std::span<const std::uint8_t> file);

} // namespace vimbrel
