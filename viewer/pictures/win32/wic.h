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
    Icon, // .ico: its largest image
    Any,  // whatever codec the system finds for the content (TIFF, HEIF, PNG, ...)
};

// The picture in `file` as Argb32; a null raster when no codec reads it or
// it is beyond the picture limits.
Raster decodeKeepingAlpha(std::span<const std::uint8_t> file, Container container = Container::Any);

// The same as RGB888 with transparency laid on white.
Raster decode(std::span<const std::uint8_t> file, Container container);

// decode() of whatever codec knows the content, turned as its orientation
// (EXIF or TIFF tag) says.
Raster decodeTurned(std::span<const std::uint8_t> file);

// `picture` (RGB888) as a PNG file; nothing when it cannot be written.
std::optional<std::vector<std::uint8_t>> png(const Raster& picture);

} // namespace vimbrel::wic
