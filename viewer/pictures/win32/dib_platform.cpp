#include "viewer/pictures/dib_platform.h"

#include "viewer/pictures/win32/wic.h"

namespace vimbrel::dib {

Raster decodeEmbedded(std::span<const uint8_t> file, EmbeddedFormat)
{
    return wic::decodeKeepingAlpha(file);
}

// Windows draws a bitmap's pixels as stored; so does the tool there.
Raster inSrgb(Raster image, std::span<const uint8_t>)
{
    return image;
}

} // namespace vimbrel::dib
