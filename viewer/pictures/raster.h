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
        Argb32, // 4 bytes a pixel as one native 32-bit 0xAARRGGBB, not premultiplied
    };

    int width = 0;
    int height = 0;
    size_t stride = 0;
    Format format = Format::Rgb888;
    std::vector<std::uint8_t> bytes;

    bool isNull() const { return width <= 0 || height <= 0 || bytes.empty(); }
    const std::uint8_t* row(int y) const { return bytes.data() + size_t(y) * stride; }
    std::uint8_t* row(int y) { return bytes.data() + size_t(y) * stride; }

    // A raster of that size and format with every byte 0; a null raster when
    // the size is not positive or its bytes cannot be had.
    static Raster make(int width, int height, Format format);
};

} // namespace vimbrel
