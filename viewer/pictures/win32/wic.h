#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "viewer/pictures/raster.h"

// Pictures through the Windows Imaging Component, the system's own codecs.
namespace vimbrel::wic {

enum class Container
{
    Bitmap, // .bmp
    Icon,   // .ico: its largest image
    Any,    // whatever codec the system finds for the content (TIFF, HEIF, ...)
};

// The picture in `file` as RGB888 with transparency laid on white; a null
// raster when no codec reads it or it is beyond the picture limits.
Raster decode(std::span<const std::uint8_t> file, Container container);

// `picture` (RGB888) as a PNG file; nothing when it cannot be written.
std::optional<std::vector<std::uint8_t>> png(const Raster& picture);

} // namespace vimbrel::wic
