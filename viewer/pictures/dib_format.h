#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "viewer/pictures/byte_reader.h"

// What the headers of a device-independent bitmap say, for the DIB decoder's
// parts. Not used outside it.
namespace vimbrel::dib {

// A colour as the decoder writes pixels: one native 0xAARRGGBB.
using Colour = uint32_t;

constexpr Colour rgba(int red, int green, int blue, int alpha)
{
    return (Colour(alpha & 0xff) << 24) | (Colour(red & 0xff) << 16) | (Colour(green & 0xff) << 8) |
           Colour(blue & 0xff);
}

constexpr Colour rgb(int red, int green, int blue)
{
    return rgba(red, green, blue, 255);
}

enum Compression : uint32_t
{
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3, // OS/2: Huffman 1D
    kJpeg = 4,      // OS/2: RLE24
    kPng = 5,
    kAlphaBitFields = 6,
};

// The kinds of header, told apart by their size.
enum class HeaderKind
{
    Core,  // BITMAPCOREHEADER, OS/2 v1: 12 bytes, 16-bit sides, 3-byte colours
    Os2v2, // OS/2 v2: 16 to 64 bytes, fields past its size read as zero
    Info,  // BITMAPINFOHEADER (40) and its V2 (52), V3 (56), V4 (108), V5 (124)
};

struct Header
{
    HeaderKind kind = HeaderKind::Info;
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0; // always positive
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    // Red, green, blue, alpha; only meaningful with hasMasks.
    std::array<uint32_t, 4> masks{};
    bool hasMasks = false;
    // A V5 header's embedded colour profile: where it lies, counted from the
    // start of the header, and its size; 0 when there is none.
    uint32_t profileAt = 0;
    uint32_t profileSize = 0;

    bool runLength24() const
    {
        return kind == HeaderKind::Os2v2 && compression == kJpeg && bitCount == 24;
    }
    bool huffman() const
    {
        return kind == HeaderKind::Os2v2 && compression == kBitFields && bitCount == 1;
    }
    bool masked() const
    {
        return kind != HeaderKind::Core && !huffman() &&
               (compression == kBitFields || compression == kAlphaBitFields);
    }
    size_t colourBytes() const { return kind == HeaderKind::Core ? 3 : 4; }
};

// Reads the header at the reader's position and the masks that follow a plain
// info header; nothing for a header that cannot be read or sides that are
// not positive.
std::optional<Header> readHeader(ByteReader& in);

} // namespace vimbrel::dib
