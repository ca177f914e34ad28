#include "viewer/pictures/dib_decoder.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

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
    const QImage one = dib::decode(mono.span(), monoBits.span());
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
    const QImage nibbles = dib::decode(four.span(), fourBits.span());
    ASSERT_EQ(nibbles.size(), QSize(2, 1));
    EXPECT_EQ(nibbles.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(nibbles.pixelColor(1, 0), QColor(Qt::green));

    // 8 bits, stored top-down (negative height); an index past the table is black.
    Bytes eight = infoHeader(2, -2, 8, 0, 1);
    eight.colour(255, 255, 0);
    Bytes eightBits;
    eightBits.bytes({0, 7, 0, 0, 7, 0, 0, 0});
    const QImage bytes = dib::decode(eight.span(), eightBits.span());
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
    const QImage fiveFive = dib::decode(plain.span(), plainBits.span());
    ASSERT_FALSE(fiveFive.isNull());
    EXPECT_EQ(fiveFive.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(fiveFive.pixelColor(1, 0), QColor(Qt::blue));

    // 16 bits with 5-6-5 masks after the header.
    Bytes masked = infoHeader(1, 1, 16, 3);
    masked.u32(0xf800).u32(0x07e0).u32(0x001f);
    Bytes maskedBits;
    maskedBits.u16(0x07e0).u16(0);
    EXPECT_EQ(dib::decode(masked.span(), maskedBits.span()).pixelColor(0, 0), QColor(Qt::green));

    // 32 bits: the fourth byte is ignored unless alpha is asked for.
    Bytes wide = infoHeader(1, 1, 32);
    Bytes wideBits;
    wideBits.bytes({0, 0, 255, 0});
    const QImage opaque = dib::decode(wide.span(), wideBits.span());
    EXPECT_EQ(opaque.pixelColor(0, 0), QColor(Qt::red));
    const QImage clear = dib::decode(wide.span(), wideBits.span(), dib::ColourUsage::Rgb, true);
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
    const QImage image = dib::decode(info.span(), bits.span());
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
    const QImage image4 = dib::decode(info4.span(), bits4.span());
    ASSERT_EQ(image4.size(), QSize(3, 1));
    EXPECT_EQ(image4.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image4.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(image4.pixelColor(2, 0), QColor(Qt::red));

    // Runs that run off the bitmap or stop early do not go outside it.
    Bytes wild;
    wild.bytes({255, 1, 0, 2, 200, 200, 9, 1});
    EXPECT_EQ(dib::decode(info.span(), wild.span()).size(), QSize(4, 2));
}

TEST(DibDecoder, PackedCoreAndPaletteIndexBitmaps)
{
    // A packed DIB with the old 12-byte header and three-byte colours.
    Bytes packed;
    packed.u32(12).u16(1).u16(1).u16(1).u16(1);
    packed.bytes({0, 0, 0, 0, 255, 0}); // black, green
    packed.bytes({0x80, 0, 0, 0});
    EXPECT_EQ(dib::decodePacked(packed.span()).pixelColor(0, 0), QColor(Qt::green));

    // Palette indices stand for the standard colours.
    Bytes indexed = infoHeader(1, 1, 1, 0, 2);
    indexed.u16(0).u16(12);
    Bytes bits;
    bits.bytes({0x80, 0, 0, 0});
    EXPECT_EQ(
        dib::decode(indexed.span(), bits.span(), dib::ColourUsage::PaletteIndices).pixelColor(0, 0),
        QColor(Qt::blue));
}

TEST(DibDecoder, DamagedOrHugeBitmapsGiveNoImage)
{
    Bytes info = infoHeader(4, 4, 24);
    Bytes shortBits;
    shortBits.bytes({1, 2, 3});
    EXPECT_TRUE(dib::decode(info.span(), shortBits.span()).isNull());

    Bytes huge = infoHeader(100000, 100000, 1);
    huge.colour(0, 0, 0).colour(1, 1, 1);
    EXPECT_TRUE(dib::decode(huge.span(), shortBits.span()).isNull());

    EXPECT_TRUE(dib::decode(infoHeader(0, 4, 24).span(), shortBits.span()).isNull());
    EXPECT_TRUE(dib::decode(infoHeader(2, 2, 7).span(), shortBits.span()).isNull());

    // A colour table longer than the header says there is.
    Bytes table = infoHeader(1, 1, 8, 0, 200);
    EXPECT_TRUE(dib::decode(table.span(), shortBits.span()).isNull());

    Bytes header;
    header.u32(999).u32(1);
    EXPECT_TRUE(dib::decodePacked(header.span()).isNull());
    EXPECT_TRUE(dib::decodePacked({}).isNull());

    // Device bitmaps with fewer bits than their rows need.
    Bytes device;
    device.u16(0).u16(8).u16(8).u16(1).u8(1).u8(1).bytes({0xff});
    EXPECT_TRUE(dib::decodeBitmap16(device.span()).isNull());
}

} // namespace
} // namespace vimbrel
