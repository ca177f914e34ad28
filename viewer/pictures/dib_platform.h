#pragma once

#include <cstdint>
#include <span>

#include "viewer/pictures/raster.h"

// What the DIB decoder takes from the platform: the JPEG and PNG files that
// a bitmap may embed, and colour profiles. Linux through Qt, Windows through
// the system's imaging component.
namespace vimbrel::dib {

enum class EmbeddedFormat
{
    Jpeg,
    Png,
};

// The picture of an embedded file as Rgb32, or Argb32 where it has alpha; a
// null raster when it cannot be read.
Raster decodeEmbedded(std::span<const uint8_t> file, EmbeddedFormat format);

// `image` turned from the ICC profile `profile` into sRGB where the platform
// can read the profile (Linux); as it is otherwise.
Raster inSrgb(Raster image, std::span<const uint8_t> profile);

} // namespace vimbrel::dib
