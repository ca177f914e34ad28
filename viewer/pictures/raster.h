#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vimbrel {

// Pixels as the loaders hand them out, whatever decoded them: rows top
// first, `stride` bytes apart, in `format`.
struct Raster
{
    enum class Format
    {
        Rgb888, // 3 bytes a pixel: red, green, blue
        // 4 bytes a pixel as one native 32-bit 0xAARRGGBB:
        Rgb32,               // opaque, the alpha byte 0xFF
        Argb32,              // with alpha, not premultiplied
        Argb32Premultiplied, // with alpha, each colour multiplied by it
    };

    int width = 0;
    int height = 0;
    size_t stride = 0;
    Format format = Format::Rgb888;
    std::vector<std::uint8_t> bytes;

    bool isNull() const { return width <= 0 || height <= 0 || bytes.empty(); }
    bool hasAlpha() const
    {
        return format == Format::Argb32 || format == Format::Argb32Premultiplied;
    }
    const std::uint8_t* row(int y) const { return bytes.data() + size_t(y) * stride; }
    std::uint8_t* row(int y) { return bytes.data() + size_t(y) * stride; }
    // The pixels of a row of a 32-bit format.
    std::uint32_t* pixels(int y) { return reinterpret_cast<std::uint32_t*>(row(y)); }
    const std::uint32_t* pixels(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(row(y));
    }
    // Every pixel of a 32-bit raster set to `value`.
    void fill(std::uint32_t value);

    // A raster of that size and format with every byte 0; a null raster when
    // the size is not positive or its bytes cannot be had.
    static Raster make(int width, int height, Format format);
};

// `raster` as RGB888 with any transparency laid on white, each channel
// (c * a + 255 * (255 - a) + 127) / 255 of its unpremultiplied colour.
Raster onWhite(const Raster& raster);

} // namespace vimbrel
