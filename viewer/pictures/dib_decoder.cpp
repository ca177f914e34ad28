#include "viewer/pictures/dib_decoder.h"

#include <array>
#include <bit>
#include <optional>
#include <vector>

#include "viewer/pictures/byte_reader.h"
#include "viewer/pictures/picture_limits.h"

namespace vimbrel::dib {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kJpeg = 4;
constexpr uint32_t kPng = 5;
constexpr uint32_t kAlphaBitFields = 6;

// The sixteen colours of the standard palette, standing in for palette indices.
constexpr std::array<QRgb, 16> kStandardColours = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

struct Header
{
    int64_t width = 0;
    int64_t height = 0; // positive: rows stored bottom-up
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 4> masks{}; // red, green, blue, alpha
    bool hasMasks = false;
    size_t headerSize = 0;
    bool core = false;
};

std::optional<Header> readHeader(ByteReader& in)
{
    Header header;
    const uint32_t size = in.u32();
    if (size == 12) {
        header.core = true;
        header.width = in.u16();
        header.height = in.u16();
        in.u16(); // planes
        header.bitCount = in.u16();
    } else if (size >= 40 && size <= 1024) {
        header.width = in.i32();
        const int32_t height = in.i32();
        header.topDown = height < 0;
        header.height = height < 0 ? -static_cast<int64_t>(height) : height;
        in.u16(); // planes
        header.bitCount = in.u16();
        header.compression = in.u32();
        in.u32(); // image size
        in.u32(); // horizontal resolution
        in.u32(); // vertical resolution
        header.coloursUsed = in.u32();
        in.u32(); // important colours
        if (size >= 52) {
            for (size_t i = 0; i < (size >= 56 ? 4u : 3u); ++i) {
                header.masks[i] = in.u32();
            }
            header.hasMasks = true;
        }
    } else {
        return std::nullopt;
    }
    header.headerSize = size;
    if (in.failed() || !in.seek(size)) {
        return std::nullopt;
    }
    const bool masked = header.compression == kBitFields || header.compression == kAlphaBitFields;
    if (masked && !header.hasMasks) {
        // Masks directly follow a plain info header.
        const size_t count = header.compression == kAlphaBitFields ? 4 : 3;
        for (size_t i = 0; i < count; ++i) {
            header.masks[i] = in.u32();
        }
        header.hasMasks = true;
    }
    if (in.failed() || header.width <= 0 || header.height <= 0) {
        return std::nullopt;
    }
    const bool compressed = header.compression == kJpeg || header.compression == kPng;
    if (!compressed && !picture_limits::fits(header.width, header.height)) {
        return std::nullopt;
    }
    return header;
}

// The colour table after the header; empty for bitmaps without one.
std::optional<std::vector<QRgb>> readColours(ByteReader& in, const Header& header,
                                             ColourUsage usage)
{
    std::vector<QRgb> colours;
    if (header.bitCount > 8) {
        // Direct-colour bitmaps may carry a table for palette devices; it is
        // not needed to draw them.
        if (header.coloursUsed > 0 &&
            !in.skip(std::min<size_t>(in.remaining(), header.coloursUsed * 4ull))) {
            return std::nullopt;
        }
        return colours;
    }
    const uint32_t maximum = 1u << header.bitCount;
    uint32_t count = header.coloursUsed == 0 ? maximum : header.coloursUsed;
    if (count > 256) {
        return std::nullopt;
    }
    if (usage == ColourUsage::PaletteIndices) {
        if (!in.has(count, 2)) {
            return std::nullopt;
        }
        for (uint32_t i = 0; i < count; ++i) {
            const uint16_t index = in.u16();
            colours.push_back(index < kStandardColours.size()
                                  ? kStandardColours[index]
                                  : qRgb(index & 0xff, index & 0xff, index & 0xff));
        }
        return colours;
    }
    const size_t entry = header.core ? 3 : 4;
    if (!in.has(count, entry)) {
        return std::nullopt;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t blue = in.u8();
        const uint8_t green = in.u8();
        const uint8_t red = in.u8();
        if (!header.core) {
            in.u8();
        }
        colours.push_back(qRgb(red, green, blue));
    }
    return colours;
}

QRgb paletteColour(const std::vector<QRgb>& colours, uint32_t index)
{
    return index < colours.size() ? colours[index] : qRgb(0, 0, 0);
}

// The value of `pixel` under `mask`, scaled to 0..255.
int channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint32_t maximum = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255u / maximum);
}

QImage decodeUncompressed(const Header& header, const std::vector<QRgb>& colours,
                          std::span<const uint8_t> bits, bool keepAlpha)
{
    const uint32_t bitCount = header.bitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return {};
    }
    const int64_t stride = ((header.width * bitCount + 31) / 32) * 4;
    if (stride * header.height > static_cast<int64_t>(bits.size())) {
        return {};
    }
    std::array<uint32_t, 4> masks = header.masks;
    const bool masked = header.compression == kBitFields || header.compression == kAlphaBitFields;
    if (!masked) {
        masks = bitCount == 16 ? std::array<uint32_t, 4>{0x7c00, 0x03e0, 0x001f, 0}
                               : std::array<uint32_t, 4>{0xff0000, 0xff00, 0xff, 0};
        if (bitCount == 32 && keepAlpha) {
            masks[3] = 0xff000000u;
        }
    }
    const bool alpha = keepAlpha && masks[3] != 0;
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    QImage image(width, height, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits.data() + stride * row;
        auto* out =
            reinterpret_cast<QRgb*>(image.scanLine(header.topDown ? row : height - 1 - row));
        for (int x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1:
                out[x] = paletteColour(colours, (line[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                out[x] = paletteColour(colours, (line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0f);
                break;
            case 8:
                out[x] = paletteColour(colours, line[x]);
                break;
            default: {
                uint32_t pixel = 0;
                const uint8_t* p = line + static_cast<ptrdiff_t>(x) * (bitCount / 8);
                for (uint32_t i = 0; i < bitCount / 8; ++i) {
                    pixel |= static_cast<uint32_t>(p[i]) << (8 * i);
                }
                const int a = alpha ? channel(pixel, masks[3]) : 255;
                out[x] = qRgba(channel(pixel, masks[0]), channel(pixel, masks[1]),
                               channel(pixel, masks[2]), a);
                break;
            }
            }
        }
    }
    return image;
}

// Run-length encoded 8- or 4-bit bitmaps. Pixels the runs never reach stay
// the first palette colour.
QImage decodeRunLength(const Header& header, const std::vector<QRgb>& colours,
                       std::span<const uint8_t> bits)
{
    const bool four = header.compression == kRle4;
    if (header.bitCount != (four ? 4u : 8u) || header.topDown) {
        return {};
    }
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    image.fill(paletteColour(colours, 0));
    auto put = [&](int x, int y, uint32_t index) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            reinterpret_cast<QRgb*>(image.scanLine(height - 1 - y))[x] =
                paletteColour(colours, index);
        }
    };
    ByteReader in(bits);
    int x = 0;
    int y = 0;
    while (in.remaining() >= 2 && y < height) {
        const uint8_t count = in.u8();
        const uint8_t value = in.u8();
        if (count > 0) {
            for (int i = 0; i < count; ++i, ++x) {
                put(x, y, four ? (i % 2 == 0 ? value >> 4 : value & 0x0f) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += in.u8();
            y += in.u8();
        } else {
            const size_t bytes = four ? (value + 1u) / 2u : value;
            const auto run = in.take(bytes + (bytes % 2));
            if (run.empty()) {
                break;
            }
            for (int i = 0; i < value; ++i, ++x) {
                const uint8_t byte = run[four ? i / 2 : i];
                put(x, y, four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0f) : byte);
            }
        }
    }
    return image;
}

QImage decodeEmbeddedFile(std::span<const uint8_t> bits, const char* format)
{
    QImage image;
    if (!image.loadFromData(bits.data(), static_cast<int>(std::min<size_t>(bits.size(), INT32_MAX)),
                            format)) {
        return {};
    }
    if (!picture_limits::fits(image.width(), image.height())) {
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The length of the BITMAPINFO at the start of `in`: header, masks and colours.
std::optional<size_t> infoLength(ByteReader in, ColourUsage usage)
{
    const auto header = readHeader(in);
    if (!header || !readColours(in, *header, usage)) {
        return std::nullopt;
    }
    return in.position();
}

} // namespace

QImage decode(std::span<const uint8_t> info, std::span<const uint8_t> bits, ColourUsage usage,
              bool keepAlpha)
{
    ByteReader in(info);
    const auto header = readHeader(in);
    if (!header) {
        return {};
    }
    const auto colours = readColours(in, *header, usage);
    if (!colours) {
        return {};
    }
    switch (header->compression) {
    case kRgb:
    case kBitFields:
    case kAlphaBitFields:
        return decodeUncompressed(*header, *colours, bits, keepAlpha);
    case kRle8:
    case kRle4:
        return decodeRunLength(*header, *colours, bits);
    case kJpeg:
        return decodeEmbeddedFile(bits, "JPEG");
    case kPng:
        return decodeEmbeddedFile(bits, "PNG");
    default:
        return {};
    }
}

QImage decodePacked(std::span<const uint8_t> packed, ColourUsage usage)
{
    const auto length = infoLength(ByteReader(packed), usage);
    if (!length) {
        return {};
    }
    return decode(packed.first(*length), packed.subspan(*length), usage);
}

QImage decodeBitmap16(std::span<const uint8_t> bitmap)
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
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const uint8_t* bits = bitmap.data() + in.position();
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = bits + static_cast<ptrdiff_t>(rowBytes) * y;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitCount == 1) {
                out[x] = ((line[x / 8] >> (7 - x % 8)) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const uint8_t* p = line + static_cast<ptrdiff_t>(x) * (bitCount / 8);
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

} // namespace vimbrel::dib
