#pragma once

#include <cstdint>
#include <span>

#include <QImage>

namespace vimbrel {

// Turns the bitmaps that metafile records embed into images. Every function
// returns a null image when the bitmap is damaged, of a kind not handled, or
// larger than the player accepts.
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
// as premultiplied alpha; otherwise the pixels are opaque.
QImage decode(std::span<const uint8_t> info, std::span<const uint8_t> bits,
              ColourUsage usage = ColourUsage::Rgb, bool keepAlpha = false);

// A packed DIB: the BITMAPINFO directly followed by the bits.
QImage decodePacked(std::span<const uint8_t> packed, ColourUsage usage = ColourUsage::Rgb);

// The device-dependent bitmap of the oldest WMF bitmap records (type, width,
// height, bytes per row, planes, bits per pixel, then the bits).
QImage decodeBitmap16(std::span<const uint8_t> bitmap);

} // namespace dib
} // namespace vimbrel
