#include "viewer/pictures/raster.h"

#include <new>

namespace vimbrel {

Raster Raster::make(int width, int height, Format format)
{
    Raster raster;
    if (width <= 0 || height <= 0) {
        return raster;
    }
    const size_t pixelBytes = format == Format::Rgb888 ? 3 : 4;
    try {
        raster.bytes.assign(size_t(width) * pixelBytes * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return Raster();
    }
    raster.width = width;
    raster.height = height;
    raster.stride = size_t(width) * pixelBytes;
    raster.format = format;
    return raster;
}

} // namespace vimbrel
