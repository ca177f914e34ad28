#include "viewer/pictures/dib_decoder.h"

#include <QColor>
#include <QImage>

#include "viewer/pictures/qt/qt_raster.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

#include <QBuffer>

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

class Bytes
{
public:
    Bytes& u8(uint32_t value)
    {
        mData.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    Bytes& u16(uint32_t value) { return u8(value).u8(value >> 8); }
    Bytes& u32(uint32_t value) { return u16(value & 0xffff).u16(value >> 16); }
    Bytes& bytes(std::initializer_list<uint8_t> values)
    {
        mData.insert(mData.end(), values);
        return *this;
    }
    // A colour table entry: blue, green, red, reserved.
    Bytes& colour(uint8_t red, uint8_t green, uint8_t blue) { return bytes({blue, green, red, 0}); }
    std::span<const uint8_t> span() const { return mData; }

private:
    std::vector<uint8_t> mData;
};

Bytes infoHeader(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression = 0,
                 uint32_t coloursUsed = 0)
{
    Bytes info;
    info.u32(40).u32(static_cast<uint32_t>(width)).u32(static_cast<uint32_t>(height)).u16(1);
    info.u16(bitCount).u32(compression).u32(0).u32(0).u32(0).u32(coloursUsed).u32(0);
    return info;
}

TEST(DibDecoder, PalettedBitmapsReadTheirIndicesBottomUp)
{
    // 1 bit: 3 x 2, rows padded to four bytes; bottom row 1,0,1, top row 0,1,0.
    Bytes mono = infoHeader(3, 2, 1);
    mono.colour(255, 0, 0).colour(0, 0, 255);
    Bytes monoBits;
    monoBits.bytes({0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0});
    const QImage one = imageOf(dib::decode(mono.span(), monoBits.span()));
    ASSERT_EQ(one.size(), QSize(3, 2));
    EXPECT_EQ(one.pixelColor(0, 1), QColor(Qt::blue));
    EXPECT_EQ(one.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(one.pixelColor(1, 0), QColor(Qt::blue));
    EXPECT_EQ(one.pixelColor(2, 0), QColor(Qt::red));

    // 4 bits with two colours used: high nibble first.
    Bytes four = infoHeader(2, 1, 4, 0, 2);
    four.colour(0, 255, 0).colour(255, 255, 255);
    Bytes fourBits;
    fourBits.bytes({0x10, 0, 0, 0});
    const QImage nibbles = imageOf(dib::decode(four.span(), fourBits.span()));
    ASSERT_EQ(nibbles.size(), QSize(2, 1));
    EXPECT_EQ(nibbles.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(nibbles.pixelColor(1, 0), QColor(Qt::green));

    // 8 bits, stored top-down (negative height); an index past the table is black.
    Bytes eight = infoHeader(2, -2, 8, 0, 1);
    eight.colour(255, 255, 0);
    Bytes eightBits;
    eightBits.bytes({0, 7, 0, 0, 7, 0, 0, 0});
    const QImage bytes = imageOf(dib::decode(eight.span(), eightBits.span()));
    ASSERT_EQ(bytes.size(), QSize(2, 2));
    EXPECT_EQ(bytes.pixelColor(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(bytes.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(bytes.pixelColor(1, 1), QColor(Qt::yellow));
}

TEST(DibDecoder, DirectColourBitmapsAndTheirMasks)
{
    // 16 bits without masks are 5-5-5.
    Bytes plain = infoHeader(2, 1, 16);
    Bytes plainBits;
    plainBits.u16(0x7c00).u16(0x001f);
    const QImage fiveFive = imageOf(dib::decode(plain.span(), plainBits.span()));
    ASSERT_FALSE(fiveFive.isNull());
    EXPECT_EQ(fiveFive.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(fiveFive.pixelColor(1, 0), QColor(Qt::blue));

    // 16 bits with 5-6-5 masks after the header.
    Bytes masked = infoHeader(1, 1, 16, 3);
    masked.u32(0xf800).u32(0x07e0).u32(0x001f);
    Bytes maskedBits;
    maskedBits.u16(0x07e0).u16(0);
    EXPECT_EQ(imageOf(dib::decode(masked.span(), maskedBits.span())).pixelColor(0, 0),
              QColor(Qt::green));

    // 32 bits: the fourth byte is ignored unless alpha is asked for.
    Bytes wide = infoHeader(1, 1, 32);
    Bytes wideBits;
    wideBits.bytes({0, 0, 255, 0});
    const QImage opaque = imageOf(dib::decode(wide.span(), wideBits.span()));
    EXPECT_EQ(opaque.pixelColor(0, 0), QColor(Qt::red));
    const QImage clear =
        imageOf(dib::decode(wide.span(), wideBits.span(), dib::ColourUsage::Rgb, true));
    EXPECT_EQ(clear.pixelColor(0, 0).alpha(), 0);
}

TEST(DibDecoder, RunLengthBitmaps)
{
    // RLE8, 4 x 2: a run of three index 1 then one literal pixel of index 0,
    // end of line; second line a run of four index 0; end of bitmap.
    Bytes info = infoHeader(4, 2, 8, 1, 2);
    info.colour(0, 0, 0).colour(255, 255, 255);
    Bytes bits;
    bits.bytes({3, 1, 1, 0, 0, 0, 4, 0, 0, 1});
    const QImage image = imageOf(dib::decode(info.span(), bits.span()));
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(3, 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));

    // RLE4: absolute run of three nibbles 1, 0, 1 (padded to a word).
    Bytes info4 = infoHeader(3, 1, 4, 2, 2);
    info4.colour(0, 0, 0).colour(255, 0, 0);
    Bytes bits4;
    bits4.bytes({0, 3, 0x10, 0x10, 0, 1});
    const QImage image4 = imageOf(dib::decode(info4.span(), bits4.span()));
    ASSERT_EQ(image4.size(), QSize(3, 1));
    EXPECT_EQ(image4.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image4.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(image4.pixelColor(2, 0), QColor(Qt::red));

    // Runs that run off the bitmap or stop early do not go outside it.
    Bytes wild;
    wild.bytes({255, 1, 0, 2, 200, 200, 9, 1});
    EXPECT_EQ(imageOf(dib::decode(info.span(), wild.span())).size(), QSize(4, 2));
}

TEST(DibDecoder, PackedCoreAndPaletteIndexBitmaps)
{
    // A packed DIB with the old 12-byte header and three-byte colours.
    Bytes packed;
    packed.u32(12).u16(1).u16(1).u16(1).u16(1);
    packed.bytes({0, 0, 0, 0, 255, 0}); // black, green
    packed.bytes({0x80, 0, 0, 0});
    EXPECT_EQ(imageOf(dib::decodePacked(packed.span())).pixelColor(0, 0), QColor(Qt::green));

    // Palette indices stand for the standard colours.
    Bytes indexed = infoHeader(1, 1, 1, 0, 2);
    indexed.u16(0).u16(12);
    Bytes bits;
    bits.bytes({0x80, 0, 0, 0});
    EXPECT_EQ(imageOf(dib::decode(indexed.span(), bits.span(), dib::ColourUsage::PaletteIndices))
                  .pixelColor(0, 0),
              QColor(Qt::blue));
}

TEST(DibDecoder, DamagedOrHugeBitmapsGiveNoImage)
{
    Bytes info = infoHeader(4, 4, 24);
    Bytes shortBits;
    shortBits.bytes({1, 2, 3});
    EXPECT_TRUE(imageOf(dib::decode(info.span(), shortBits.span())).isNull());

    Bytes huge = infoHeader(100000, 100000, 1);
    huge.colour(0, 0, 0).colour(1, 1, 1);
    EXPECT_TRUE(imageOf(dib::decode(huge.span(), shortBits.span())).isNull());

    EXPECT_TRUE(imageOf(dib::decode(infoHeader(0, 4, 24).span(), shortBits.span())).isNull());
    EXPECT_TRUE(imageOf(dib::decode(infoHeader(2, 2, 7).span(), shortBits.span())).isNull());

    // A colour table longer than the header says there is.
    Bytes table = infoHeader(1, 1, 8, 0, 200);
    EXPECT_TRUE(imageOf(dib::decode(table.span(), shortBits.span())).isNull());

    Bytes header;
    header.u32(999).u32(1);
    EXPECT_TRUE(imageOf(dib::decodePacked(header.span())).isNull());
    EXPECT_TRUE(imageOf(dib::decodePacked({})).isNull());

    // Device bitmaps with fewer bits than their rows need.
    Bytes device;
    device.u16(0).u16(8).u16(8).u16(1).u8(1).u8(1).bytes({0xff});
    EXPECT_TRUE(imageOf(dib::decodeBitmap16(device.span())).isNull());
}

} // namespace
} // namespace vimbrel

namespace vimbrel {
namespace {

// A .bmp file: the file header, then `info` and `bits`, the pixels at
// `pixelsAt` (0: right after the info).
std::vector<uint8_t> bmpFile(std::span<const uint8_t> info, std::span<const uint8_t> bits,
                             uint32_t pixelsAt = 0)
{
    Bytes file;
    const uint32_t at = pixelsAt != 0 ? pixelsAt : uint32_t(14 + info.size());
    file.u8('B').u8('M').u32(uint32_t(at + bits.size())).u32(0).u32(at);
    std::vector<uint8_t> bytes(file.span().begin(), file.span().end());
    bytes.insert(bytes.end(), info.begin(), info.end());
    bytes.resize(std::max<size_t>(bytes.size(), at), 0);
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    return bytes;
}

TEST(DibFile, ChannelsOfAnyWidthScaleWithRounding)
{
    // 5-5-5: 30 of 31 is 246.77, so 247; 31 is 255.
    Bytes plain = infoHeader(2, 1, 16);
    Bytes plainBits;
    plainBits.u16(30 << 10 | 31 << 5 | 1).u16(0);
    const QImage image = imageOf(dib::decodeFile(bmpFile(plain.span(), plainBits.span())));
    EXPECT_EQ(image.pixel(0, 0), qRgb(247, 255, 8));

    // Masks of 2, 3 and 1 bits.
    Bytes odd = infoHeader(1, 1, 16, 3);
    odd.u32(0x30).u32(0x0e).u32(0x01);
    Bytes oddBits;
    oddBits.u16(0x20 | 0x06 | 0x01).u16(0);
    EXPECT_EQ(imageOf(dib::decodeFile(bmpFile(odd.span(), oddBits.span()))).pixel(0, 0),
              qRgb(170, 109, 255));
}

TEST(DibFile, AlphaMasksKeepTheirAlphaAndPlain32BitsStayOpaque)
{
    Bytes v3;
    v3.u32(56).u32(1).u32(1).u16(1).u16(32).u32(3).u32(0).u32(0).u32(0).u32(0).u32(0);
    v3.u32(0xff0000).u32(0xff00).u32(0xff).u32(0xff000000);
    Bytes bits;
    bits.bytes({10, 20, 30, 128});
    const QImage clear = imageOf(dib::decodeFile(bmpFile(v3.span(), bits.span())));
    EXPECT_EQ(clear.format(), QImage::Format_ARGB32);
    EXPECT_EQ(clear.pixel(0, 0), qRgba(30, 20, 10, 128));

    const QImage opaque =
        imageOf(dib::decodeFile(bmpFile(infoHeader(1, 1, 32).span(), bits.span())));
    EXPECT_FALSE(opaque.hasAlphaChannel());
}

TEST(DibFile, OldHeadersShortPalettesAndTwoBitPixels)
{
    // OS/2 v2 with only 16 header bytes; 2 bits per pixel, a palette of two
    // of its four colours: index 3 is black, as Windows shows it.
    Bytes os2;
    os2.u32(16).u32(4).u32(1).u16(1).u16(2);
    os2.colour(255, 0, 0).colour(0, 255, 0);
    Bytes bits;
    bits.bytes({0b00011011, 0, 0, 0});
    const QImage image = imageOf(dib::decodeFile(bmpFile(os2.span(), bits.span(), 14 + 16 + 8)));
    ASSERT_EQ(image.size(), QSize(4, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 0));

    // OS/2 v1 (12 bytes, 3-byte colours) whose pixels start inside its
    // 256-colour table: the table is as long as there is room.
    Bytes core;
    core.u32(12).u16(1).u16(1).u16(1).u16(8);
    core.bytes({0, 0, 255, 255, 0, 0});
    Bytes one;
    one.bytes({1, 0, 0, 0});
    EXPECT_EQ(imageOf(dib::decodeFile(bmpFile(core.span(), one.span()))).pixel(0, 0),
              qRgb(0, 0, 255));
}

TEST(DibFile, Os2HuffmanCodedRows)
{
    // 8 x 2, OS/2 v2 with compression 3 at 1 bit: the fax code of T.4.
    // Bottom row: white 3 (1000), black 2 (11), white 3 (1000); top row:
    // white 0 (00110101), black 8 (000101), then the data ends.
    Bytes os2;
    os2.u32(20).u32(8).u32(2).u16(1).u16(1).u32(3);
    os2.colour(255, 255, 255).colour(0, 0, 0);
    Bytes bits;
    bits.bytes({0b10001110, 0b00001101, 0b01000101});
    const QImage image = imageOf(dib::decodeFile(bmpFile(os2.span(), bits.span())));
    ASSERT_EQ(image.size(), QSize(8, 2));
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(image.pixel(0, 1), white);
    EXPECT_EQ(image.pixel(2, 1), white);
    EXPECT_EQ(image.pixel(3, 1), black);
    EXPECT_EQ(image.pixel(4, 1), black);
    EXPECT_EQ(image.pixel(5, 1), white);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(image.pixel(x, 0), black) << x;
    }
    // Codes that are no codes end the picture where they stand.
    Bytes junk;
    junk.bytes({0b10000000, 0, 0, 0});
    EXPECT_EQ(imageOf(dib::decodeFile(bmpFile(os2.span(), junk.span()))).size(), QSize(8, 2));
}

TEST(DibFile, ShortTablesAndDamagedPngEndsInMetafileBitmaps)
{
    // 8 bits with no colour count (256 colours) but two entries given: as in
    // a file, the missing colours are black.
    Bytes info = infoHeader(2, 1, 8);
    info.colour(255, 0, 0).colour(0, 255, 0);
    Bytes bits;
    bits.bytes({1, 7, 0, 0});
    const QImage image = imageOf(dib::decode(info.span(), bits.span()));
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));

    // An embedded PNG whose end chunk is damaged keeps its picture.
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    png[png.size() - 12 + 4] = '\0'; // "IEND" becomes "\0END"
    Bytes embedded = infoHeader(3, -2, 0, 5);
    const auto* data = reinterpret_cast<const uint8_t*>(png.constData());
    const QImage decoded =
        imageOf(dib::decode(embedded.span(), std::span<const uint8_t>(data, size_t(png.size()))));
    ASSERT_EQ(decoded.size(), QSize(3, 2));
    EXPECT_EQ(decoded.pixel(1, 1), qRgb(10, 200, 30));
}

TEST(DibFile, RunLength24AndTopDownRunsAndDamagedFiles)
{
    // OS/2 v2 RLE24 (compression 4, 24 bits): a run of two, then an
    // absolute run of three (padded to a whole word), end of picture.
    Bytes os2;
    os2.u32(20).u32(5).u32(1).u16(1).u16(24).u32(4);
    Bytes runs;
    runs.bytes({2, 1, 2, 3, 0, 3, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 1});
    const QImage image = imageOf(dib::decodeFile(bmpFile(os2.span(), runs.span())));
    ASSERT_EQ(image.size(), QSize(5, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(image.pixel(1, 0), qRgb(3, 2, 1));
    EXPECT_EQ(image.pixel(2, 0), qRgb(7, 8, 9));
    EXPECT_EQ(image.pixel(4, 0), qRgb(1, 2, 3));

    Bytes topDown = infoHeader(2, -2, 8, 1);
    topDown.colour(0, 0, 0);
    EXPECT_TRUE(imageOf(dib::decodeFile(bmpFile(topDown.span(), runs.span()))).isNull());

    // Not a bitmap, cut short, or pixels said to lie beyond the file.
    const std::vector<uint8_t> good = bmpFile(infoHeader(1, 1, 24).span(), runs.span());
    EXPECT_FALSE(imageOf(dib::decodeFile(good)).isNull());
    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[0] = 'X';
    EXPECT_TRUE(imageOf(dib::decodeFile(wrongMagic)).isNull());
    EXPECT_TRUE(imageOf(dib::decodeFile(std::span(good).first(20))).isNull());
    EXPECT_TRUE(imageOf(dib::decodeFile({})).isNull());
}

} // namespace
} // namespace vimbrel
