#include "viewer/pictures/dib_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "viewer/pictures/byte_reader.h"
#include "viewer/pictures/dib_format.h"
#include "viewer/pictures/dib_huffman.h"
#include "viewer/pictures/dib_platform.h"
#include "viewer/pictures/dib_run_length.h"
#include "viewer/pictures/picture_limits.h"

namespace vimbrel::dib {
namespace {

// The sixteen colours of the standard palette, standing in for palette indices.
constexpr std::array<Colour, 16> kStandardColours = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

// Colour tables longer than this are no colour tables.
constexpr uint32_t kMaxColourEntries = 65536;

// What the caller wants of the pixels.
struct Output
{
    // Use the alpha channel where the bitmap has one: a 32-bit BI_RGB bitmap's
    // fourth byte when asked (metafile blits), an alpha mask always for files.
    bool alphaOfRgb32 = false;
    bool alphaOfMask = false;
};

// The colour table after the header. `available` bounds the entries that
// exist (a file whose pixels start early has a short table; Windows shows the
// missing entries black); with `strict`, a table shorter than declared fails.
std::optional<std::vector<Colour>> readColours(ByteReader& in, const Header& header,
                                               ColourUsage usage, bool strict)
{
    std::vector<Colour> colours;
    if (header.coloursUsed > kMaxColourEntries) {
        return std::nullopt;
    }
    if (header.bitCount > 8 || header.bitCount == 0) {
        // Direct-colour bitmaps may carry a table for palette devices; it is
        // not needed to draw them.
        const size_t bytes = size_t(header.coloursUsed) * header.colourBytes();
        in.skip(std::min(in.remaining(), bytes));
        return colours;
    }
    const uint32_t declared =
        header.coloursUsed == 0 ? (1u << header.bitCount) : header.coloursUsed;
    const size_t entry = usage == ColourUsage::PaletteIndices ? 2 : header.colourBytes();
    if (strict && !in.has(declared, entry)) {
        return std::nullopt;
    }
    const uint32_t count =
        static_cast<uint32_t>(std::min<size_t>(declared, in.remaining() / entry));
    for (uint32_t i = 0; i < count; ++i) {
        if (usage == ColourUsage::PaletteIndices) {
            const uint16_t index = in.u16();
            colours.push_back(index < kStandardColours.size()
                                  ? kStandardColours[index]
                                  : rgb(index & 0xff, index & 0xff, index & 0xff));
            continue;
        }
        const uint8_t blue = in.u8();
        const uint8_t green = in.u8();
        const uint8_t red = in.u8();
        if (entry == 4) {
            in.u8();
        }
        colours.push_back(rgb(red, green, blue));
    }
    return colours;
}

Colour paletteColour(const std::vector<Colour>& colours, uint32_t index)
{
    return index < colours.size() ? colours[index] : rgb(0, 0, 0);
}

// One channel of a pixel: the bits under a mask of any width and place,
// scaled to 0..255 with rounding, so that the largest value of n bits is 255.
class Channel
{
public:
    explicit Channel(uint32_t mask)
        : mMask(mask), mShift(mask == 0 ? 0 : std::countr_zero(mask)),
          mMaximum(mask == 0 ? 0 : (uint64_t(1) << std::bit_width(mask >> mShift)) - 1)
    {
    }
    bool present() const { return mMask != 0; }
    int operator()(uint32_t pixel) const
    {
        if (mMaximum == 0) {
            return 0;
        }
        const uint64_t value = (pixel & mMask) >> mShift;
        return static_cast<int>((value * 255 + mMaximum / 2) / mMaximum);
    }

private:
    uint32_t mMask;
    int mShift;
    uint64_t mMaximum;
};

// A 64-bit pixel's channel: linear light, 1.0 at 8192, to an 8-bit sRGB value.
int linearToSrgb(uint16_t stored)
{
    const double linear = std::clamp(static_cast<int16_t>(stored) / 8192.0, 0.0, 1.0);
    const double srgb =
        linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    return static_cast<int>(std::lround(srgb * 255.0));
}

int linearAlpha(uint16_t stored)
{
    return static_cast<int>(
        std::lround(std::clamp(static_cast<int16_t>(stored) / 8192.0, 0.0, 1.0) * 255.0));
}

Raster decodeUncompressed(const Header& header, const std::vector<Colour>& colours,
                          std::span<const uint8_t> bits, const Output& output)
{
    const uint32_t bitCount = header.bitCount;
    if (bitCount != 1 && bitCount != 2 && bitCount != 4 && bitCount != 8 && bitCount != 16 &&
        bitCount != 24 && bitCount != 32 && bitCount != 64) {
        return {};
    }
    if (header.masked() && bitCount != 16 && bitCount != 32) {
        return {};
    }
    const int64_t stride = ((header.width * bitCount + 31) / 32) * 4;
    if (stride * header.height > static_cast<int64_t>(bits.size())) {
        return {};
    }
    std::array<uint32_t, 4> masks = header.masks;
    if (!header.masked()) {
        masks = bitCount == 16 ? std::array<uint32_t, 4>{0x7c00, 0x03e0, 0x001f, 0}
                               : std::array<uint32_t, 4>{0xff0000, 0xff00, 0xff, 0};
        if (bitCount == 32 && output.alphaOfRgb32) {
            masks[3] = 0xff000000u;
        }
    } else if (!output.alphaOfMask && !output.alphaOfRgb32) {
        masks[3] = 0;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const bool hasAlpha = alpha.present() || (bitCount == 64 && output.alphaOfMask);
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    Raster image = Raster::make(width, height, Raster::Format::Argb32);
    if (image.isNull()) {
        return {};
    }
    const uint32_t indexMask = (1u << std::min(bitCount, 8u)) - 1;
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits.data() + stride * row;
        Colour* out = image.pixels(header.topDown ? row : height - 1 - row);
        for (int x = 0; x < width; ++x) {
            if (bitCount <= 8) {
                const int64_t bit = int64_t(x) * bitCount;
                const uint32_t index = (line[bit / 8] >> (8 - bitCount - bit % 8)) & indexMask;
                out[x] = paletteColour(colours, index);
            } else if (bitCount == 24) {
                const uint8_t* p = line + int64_t(x) * 3;
                out[x] = rgb(p[2], p[1], p[0]);
            } else if (bitCount == 64) {
                const uint8_t* p = line + int64_t(x) * 8;
                const auto half = [&](int i) { return uint16_t(p[2 * i] | (p[2 * i + 1] << 8)); };
                out[x] = rgba(linearToSrgb(half(2)), linearToSrgb(half(1)), linearToSrgb(half(0)),
                              hasAlpha ? linearAlpha(half(3)) : 255);
            } else {
                const uint8_t* p = line + int64_t(x) * (bitCount / 8);
                uint32_t pixel = p[0] | (uint32_t(p[1]) << 8);
                if (bitCount == 32) {
                    pixel |= (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
                }
                out[x] = rgba(red(pixel), green(pixel), blue(pixel),
                              alpha.present() ? alpha(pixel) : 255);
            }
        }
    }
    if (!hasAlpha) {
        image.format = Raster::Format::Rgb32; // every alpha byte is 255
    }
    return image;
}

// A PNG cut after its last complete image-data chunk and closed with a
// proper end chunk: writers that leave the end damaged lose nothing of the
// picture. Empty when there is no complete image-data chunk.
std::vector<uint8_t> withSoundPngEnd(std::span<const uint8_t> png)
{
    constexpr size_t kSignature = 8;
    size_t end = 0;
    for (size_t at = kSignature; at + 12 <= png.size();) {
        const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                                uint32_t(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12) {
            break;
        }
        if (std::equal(png.begin() + ptrdiff_t(at) + 4, png.begin() + ptrdiff_t(at) + 8, "IDAT")) {
            end = at + 12 + length;
        }
        at += 12 + length;
    }
    if (end == 0) {
        return {};
    }
    std::vector<uint8_t> sound(png.begin(), png.begin() + ptrdiff_t(end));
    static constexpr uint8_t kEnd[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xae, 0x42, 0x60, 0x82};
    sound.insert(sound.end(), std::begin(kEnd), std::end(kEnd));
    return sound;
}

Raster decodeEmbeddedFile(std::span<const uint8_t> bits, EmbeddedFormat format)
{
    Raster image = decodeEmbedded(bits, format);
    if (image.isNull() && format == EmbeddedFormat::Png) {
        const std::vector<uint8_t> repaired = withSoundPngEnd(bits);
        if (!repaired.empty()) {
            image = decodeEmbedded(repaired, format);
        }
    }
    if (image.isNull() || !picture_limits::fits(image.width, image.height)) {
        return {};
    }
    return image;
}

Raster decodePixels(const Header& header, const std::vector<Colour>& colours,
                    std::span<const uint8_t> bits, const Output& output)
{
    if (header.compression == kJpeg && !header.runLength24()) {
        return decodeEmbeddedFile(bits, EmbeddedFormat::Jpeg);
    }
    if (header.compression == kPng) {
        return decodeEmbeddedFile(bits, EmbeddedFormat::Png);
    }
    if (!picture_limits::fits(header.width, header.height)) {
        return {};
    }
    if (header.runLength24()) {
        return decodeRunLength(header, colours, bits);
    }
    switch (header.compression) {
    case kRgb:
        return decodeUncompressed(header, colours, bits, output);
    case kBitFields:
    case kAlphaBitFields:
        // OS/2 uses compression 3 for its Huffman-coded 1-bit bitmaps.
        if (header.huffman()) {
            return decodeHuffman1d(header, colours, bits);
        }
        return header.masked() ? decodeUncompressed(header, colours, bits, output) : Raster();
    case kRle8:
    case kRle4:
        return decodeRunLength(header, colours, bits);
    default:
        return {};
    }
}

// The picture in sRGB, as browsers and the small images show it, where the
// header embeds a colour profile of its own.
Raster withEmbeddedProfile(Raster image, const Header& header, std::span<const uint8_t> info)
{
    if (image.isNull() || header.profileSize == 0 || header.profileAt >= info.size() ||
        header.profileSize > info.size() - header.profileAt) {
        return image;
    }
    return inSrgb(std::move(image), info.subspan(header.profileAt, header.profileSize));
}

// The length of the BITMAPINFO at the start of `in`: header, masks and colours.
std::optional<size_t> infoLength(ByteReader in, ColourUsage usage)
{
    const auto header = readHeader(in);
    if (!header || !readColours(in, *header, usage, true)) {
        return std::nullopt;
    }
    return in.position();
}

} // namespace

Raster decode(std::span<const uint8_t> info, std::span<const uint8_t> bits, ColourUsage usage,
              bool keepAlpha)
{
    ByteReader in(info);
    const auto header = readHeader(in);
    if (!header) {
        return {};
    }
    // The info comes with its own length, so a colour table shorter than the
    // header says is simply short, as in a file: the missing colours are black.
    const auto colours = readColours(in, *header, usage, false);
    if (!colours) {
        return {};
    }
    return decodePixels(*header, *colours, bits, Output{keepAlpha, keepAlpha});
}

Raster decodePacked(std::span<const uint8_t> packed, ColourUsage usage)
{
    const auto length = infoLength(ByteReader(packed), usage);
    if (!length) {
        return {};
    }
    return decode(packed.first(*length), packed.subspan(*length), usage);
}

Raster decodeFile(std::span<const uint8_t> file)
{
    constexpr size_t kFileHeader = 14;
    if (file.size() < kFileHeader + 12 || file[0] != 'B' || file[1] != 'M') {
        return {};
    }
    ByteReader fileHeader(file.first(kFileHeader));
    fileHeader.skip(10);
    const uint64_t pixelsAt = fileHeader.u32();
    // The colour table lies between the headers and the pixels; where the
    // pixels are said to start inside it, the table is short.
    const size_t end =
        pixelsAt > kFileHeader && pixelsAt <= file.size() ? size_t(pixelsAt) : file.size();
    ByteReader in(file.subspan(kFileHeader));
    const auto header = readHeader(in);
    if (!header) {
        return {};
    }
    const size_t tableStart = in.position();
    const size_t tableEnd = std::max(tableStart, end - kFileHeader);
    ByteReader table = in.sub(tableStart, tableEnd - tableStart);
    const auto colours = readColours(table, *header, ColourUsage::Rgb, false);
    if (!colours) {
        return {};
    }
    // Pixels start where the file header says, or right after the table when
    // that place is not inside the file or lies within the headers.
    size_t bitsAt = kFileHeader + tableStart + table.position();
    if (pixelsAt >= kFileHeader + tableStart && pixelsAt < file.size()) {
        bitsAt = size_t(pixelsAt);
    }
    if (bitsAt >= file.size()) {
        return {};
    }
    Raster image = decodePixels(*header, *colours, file.subspan(bitsAt), Output{false, true});
    return withEmbeddedProfile(std::move(image), *header, file.subspan(kFileHeader));
}

Raster decodeBitmap16(std::span<const uint8_t> bitmap)
{
    ByteReader in(bitmap);
    in.i16(); // type
    const int width = in.i16();
    const int height = in.i16();
    const int rowBytes = in.i16();
    const int planes = in.u8();
    const int bitCount = in.u8();
    if (in.failed() || planes != 1 || !picture_limits::fits(width, height) ||
        (bitCount != 1 && bitCount != 24 && bitCount != 32) ||
        rowBytes < (width * bitCount + 7) / 8 || !in.has(static_cast<uint64_t>(rowBytes), height)) {
        return {};
    }
    // Device bitmaps are stored top-down; monochrome ones as black on white.
    Raster image = Raster::make(width, height, Raster::Format::Rgb32);
    if (image.isNull()) {
        return {};
    }
    const uint8_t* bits = bitmap.data() + in.position();
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = bits + static_cast<ptrdiff_t>(rowBytes) * y;
        Colour* out = image.pixels(y);
        for (int x = 0; x < width; ++x) {
            if (bitCount == 1) {
                out[x] = ((line[x / 8] >> (7 - x % 8)) & 1) ? rgb(255, 255, 255) : rgb(0, 0, 0);
            } else {
                const uint8_t* p = line + static_cast<ptrdiff_t>(x) * (bitCount / 8);
                out[x] = rgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

} // namespace vimbrel::dib
