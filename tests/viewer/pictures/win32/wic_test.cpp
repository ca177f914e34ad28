// Pictures read through the Windows Imaging Component: TIFF turned as its
// Orientation tag says, and damage refused rather than drawn.
#include "viewer/pictures/win32/wic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vimbrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(Bytes& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A 3 x 2 uncompressed RGB TIFF whose pixel (x, y) is (10 x, 100 y, 7), with
// an Orientation tag when `orientation` is not 0.
Bytes tiff(int orientation)
{
    const int width = 3;
    const int height = 2;
    struct Entry
    {
        unsigned tag, type;
        std::uint32_t count, value;
    };
    std::vector<Entry> entries = {{256, 3, 1, width},  {257, 3, 1, height},
                                  {258, 3, 3, 0},      {259, 3, 1, 1},
                                  {262, 3, 1, 2},      {273, 4, 1, 0},
                                  {274, 3, 1, 0},      {277, 3, 1, 3},
                                  {278, 3, 1, height}, {279, 4, 1, width * height * 3},
                                  {284, 3, 1, 1}};
    if (orientation == 0) {
        std::erase_if(entries, [](const Entry& entry) { return entry.tag == 274; });
    }
    const std::uint32_t ifdSize = 2 + 12 * std::uint32_t(entries.size()) + 4;
    const std::uint32_t bitsAt = 8 + ifdSize;
    const std::uint32_t pixelsAt = bitsAt + 6;
    for (Entry& entry : entries) {
        entry.value = entry.tag == 258   ? bitsAt
                      : entry.tag == 273 ? pixelsAt
                      : entry.tag == 274 ? std::uint32_t(orientation)
                                         : entry.value;
    }
    Bytes out = {'I', 'I', 42, 0};
    put32(out, 8);
    put16(out, unsigned(entries.size()));
    for (const Entry& entry : entries) {
        put16(out, entry.tag);
        put16(out, entry.type);
        put32(out, entry.count);
        // A SHORT value sits in the first two bytes of the field.
        put32(out, entry.value);
    }
    put32(out, 0);
    for (int i = 0; i < 3; ++i) {
        put16(out, 8);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.insert(out.end(), {std::uint8_t(10 * x), std::uint8_t(100 * y), 7});
        }
    }
    return out;
}

std::array<int, 3> pixel(const Raster& raster, int x, int y)
{
    const std::uint8_t* at = raster.row(y) + 3 * x;
    return {at[0], at[1], at[2]};
}

TEST(WicTest, TiffIsTurnedAsItsOrientationSays)
{
    const Bytes plain = tiff(0);
    const Raster kept = wic::decodeTurned(plain);
    ASSERT_EQ(kept.width, 3);
    ASSERT_EQ(kept.height, 2);
    ASSERT_EQ(kept.format, Raster::Format::Rgb888);
    EXPECT_EQ(pixel(kept, 2, 1), (std::array{20, 100, 7}));

    // 6: the stored top row becomes the right-hand column, read downwards.
    const Bytes sideways = tiff(6);
    const Raster turned = wic::decodeTurned(sideways);
    ASSERT_EQ(turned.width, 2);
    ASSERT_EQ(turned.height, 3);
    EXPECT_EQ(pixel(turned, 1, 0), (std::array{0, 0, 7}));
    EXPECT_EQ(pixel(turned, 1, 2), (std::array{20, 0, 7}));
    EXPECT_EQ(pixel(turned, 0, 0), (std::array{0, 100, 7}));

    // 3: upside down, same sides.
    const Bytes upsideDown = tiff(3);
    const Raster half = wic::decodeTurned(upsideDown);
    ASSERT_EQ(half.width, 3);
    EXPECT_EQ(pixel(half, 0, 0), (std::array{20, 100, 7}));
}

TEST(WicTest, DamagedOrForeignBytesGiveNoPicture)
{
    Bytes cut = tiff(6);
    cut.resize(cut.size() - 10);
    Bytes nothing;
    Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    Bytes hugeSides = tiff(0);
    hugeSides[8 + 2 + 8] = 0xFF; // width 65535 with 18 bytes of pixels
    hugeSides[8 + 2 + 9] = 0xFF;
    for (const Bytes* file : std::array{&nothing, &text, &hugeSides}) {
        EXPECT_TRUE(wic::decodeTurned(*file).isNull());
    }
    // A strip cut short is either refused or drawn at the stored size;
    // it never reads past the file.
    const Raster shortened = wic::decodeTurned(cut);
    if (!shortened.isNull()) {
        EXPECT_EQ(shortened.width, 2);
    }
}

} // namespace
} // namespace vimbrel
