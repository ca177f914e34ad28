#pragma once

#include <cstdint>
#include <span>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// Turns device-independent bitmaps into images: .bmp files and the bitmaps
// that metafile records embed, through one decoder. It reads every header
// (OS/2 v1 and v2, BITMAPINFOHEADER and its V2 to V5), 1, 2, 4, 8, 16, 24, 32
// and 64 bits per pixel, bit-field masks of any width and place (a channel of
// n bits scaled to 0..255 by round(v * 255 / (2^n - 1))), short colour tables
// (missing entries black), bottom-up and top-down rows, RLE4, RLE8 and RLE24
// with deltas and early ends, and embedded JPEG and PNG (through the
// platform's decoder, dib_platform.h). Pixels come as Rgb32, or Argb32 (not
// premultiplied) where they keep an alpha channel. Every function returns a
// null raster when the bitmap is damaged, of a kind not handled, or larger
// than the picture limits.
namespace dib {

// How a DIB's colour table is to be read: as RGB quads, or as 16-bit indices
// into the logical palette (which the player does not keep, so a fixed
// standard palette stands in).
enum class ColourUsage
{
    Rgb,
    PaletteIndices
};

// A device-independent bitmap given as its BITMAPINFO (header, masks, colour
// table) and its pixel bits. `keepAlpha` keeps a 32-bit bitmap's fourth byte
// as alpha; otherwise the pixels are opaque.
Raster decode(std::span<const uint8_t> info, std::span<const uint8_t> bits,
              ColourUsage usage = ColourUsage::Rgb, bool keepAlpha = false);

// A packed DIB: the BITMAPINFO directly followed by the bits.
Raster decodePacked(std::span<const uint8_t> packed, ColourUsage usage = ColourUsage::Rgb);

// A whole .bmp file: the file header, then a DIB. Pixels with an alpha mask
// keep their alpha; all others are opaque.
Raster decodeFile(std::span<const uint8_t> file);

// The device-dependent bitmap of the oldest WMF bitmap records (type, width,
// height, bytes per row, planes, bits per pixel, then the bits).
Raster decodeBitmap16(std::span<const uint8_t> bitmap);

} // namespace dib
} // namespace vimbrel
