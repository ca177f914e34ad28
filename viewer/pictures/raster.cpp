#include "viewer/pictures/raster.h"

#include <algorithm>
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

void Raster::fill(std::uint32_t value)
{
    for (int y = 0; y < height; ++y) {
        std::fill_n(pixels(y), width, value);
    }
}

Raster onWhite(const Raster& raster)
{
    if (raster.isNull() || raster.format == Raster::Format::Rgb888) {
        return raster;
    }
    Raster out = Raster::make(raster.width, raster.height, Raster::Format::Rgb888);
    if (out.isNull()) {
        return out;
    }
    const bool premultiplied = raster.format == Raster::Format::Argb32Premultiplied;
    for (int y = 0; y < raster.height; ++y) {
        const std::uint32_t* in = raster.pixels(y);
        std::uint8_t* to = out.row(y);
        for (int x = 0; x < raster.width; ++x, to += 3) {
            const std::uint32_t pixel = in[x];
            const int alpha = raster.hasAlpha() ? int(pixel >> 24) : 255;
            const int white = 255 * (255 - alpha);
            for (int channel = 0; channel < 3; ++channel) {
                int value = int((pixel >> (16 - 8 * channel)) & 0xff);
                if (premultiplied && alpha > 0) {
                    // Back to the colour itself, as Qt unpremultiplies.
                    value = std::min(255, (value * 255 + alpha / 2) / alpha);
                }
                to[channel] = static_cast<std::uint8_t>((value * alpha + white + 127) / 255);
            }
        }
    }
    return out;
}

} // namespace vimbrel
