#include "viewer/metafile/raster_operation.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace vimbrel {
namespace {

using raster_operation::Ternary;

constexpr QRgb kPattern = 0xff00ff0f; // green with a little blue
constexpr QRgb kSource = 0xff3366cc;
constexpr QRgb kDestination = 0xffc0c0c0;

TEST(RasterOperation, TernaryCodesFollowTheirTruthTable)
{
    EXPECT_EQ(Ternary(0x00cc0020).apply(kPattern, kSource, kDestination), kSource); // copy
    EXPECT_EQ(Ternary(0x00f00021).apply(kPattern, kSource, kDestination), kPattern);
    EXPECT_EQ(Ternary(0x00550009).apply(kPattern, kSource, kDestination),
              0xff000000 | (~kDestination & 0xffffff)); // inverted destination
    EXPECT_EQ(Ternary(0x005a0049).apply(kPattern, kSource, kDestination),
              0xff000000 | ((kPattern ^ kDestination) & 0xffffff)); // pattern invert
    EXPECT_EQ(Ternary(0x00bb0226).apply(kPattern, kSource, kDestination),
              0xff000000 | ((~kSource | kDestination) & 0xffffff)); // merge paint
    EXPECT_EQ(Ternary(0x00aa0029).apply(kPattern, kSource, kDestination), kDestination);
    EXPECT_EQ(Ternary(0x00000042).apply(kPattern, kSource, kDestination), 0xff000000u);
    EXPECT_EQ(Ternary(0x00ff0062).apply(kPattern, kSource, kDestination), 0xffffffffu);
    // Where the source is set the pattern shows, elsewhere the destination
    // (0xe2), and the other way round (0xb8): the masked blits that drawing
    // programs use for cut-out pictures. Here the source is set in green only.
    const QRgb greenSource = 0xff00ff00;
    EXPECT_EQ(Ternary(0x00e20746).apply(0xffffffff, greenSource, 0xff000000), 0xff00ff00u);
    EXPECT_EQ(Ternary(0x00b8074a).apply(0xffffffff, greenSource, 0xff000000), 0xffff00ffu);
}

TEST(RasterOperation, TernaryCodesSayWhatTheyRead)
{
    EXPECT_TRUE(Ternary(0x00cc0020).usesSource());
    EXPECT_FALSE(Ternary(0x00cc0020).usesPattern());
    EXPECT_FALSE(Ternary(0x00550009).usesSource());
    EXPECT_FALSE(Ternary(0x00550009).usesPattern());
    EXPECT_TRUE(Ternary(0x005a0049).usesPattern());
    EXPECT_FALSE(Ternary(0x005a0049).usesSource());
    EXPECT_TRUE(Ternary(0x00e20746).usesPattern());
    EXPECT_TRUE(Ternary(0x00e20746).usesSource());
}

TEST(RasterOperation, CombineFillsOnlyTheCoveredPixels)
{
    QImage picture(4, 1, QImage::Format_RGB32);
    picture.fill(QColor(Qt::red));
    QImage covered(2, 1, QImage::Format_ARGB32_Premultiplied);
    covered.fill(Qt::transparent);
    covered.setPixel(1, 0, 0xffffffff);
    // Inverts the destination in the second of the two pixels from x = 2.
    const QImage result = Ternary(0x00550009).combine(picture, QPoint(2, 0), {}, {}, covered);
    ASSERT_EQ(result.size(), QSize(2, 1));
    EXPECT_EQ(qAlpha(result.pixel(0, 0)), 0);
    EXPECT_EQ(result.pixel(1, 0), 0xff00ffffu);
}

// Every binary mix of a pen with the picture, drawn by the painter, against
// its definition: bit p·2 + d of (code − 1) is the result for pen bit p and
// picture bit d.
TEST(RasterOperation, AllSixteenPenMixesCombineBitByBit)
{
    const QRgb pen = 0xff3366cc;
    const QRgb under = 0xffc0a050;
    for (int rop2 = 1; rop2 <= 16; ++rop2) {
        if (rop2 == 11) {
            continue; // leaves the picture alone; callers draw nothing
        }
        QImage picture(1, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, under);
        {
            QPainter painter(&picture);
            painter.setCompositionMode(raster_operation::binaryMode(rop2));
            painter.fillRect(QRect(0, 0, 1, 1), QColor::fromRgb(pen));
        }
        const uint32_t table = static_cast<uint32_t>(rop2 - 1);
        uint32_t expected = 0;
        for (int bit = 0; bit < 24; ++bit) {
            const uint32_t p = (pen >> bit) & 1;
            const uint32_t d = (under >> bit) & 1;
            expected |= ((table >> (p * 2 + d)) & 1) << bit;
        }
        EXPECT_EQ(picture.pixel(0, 0) & 0xffffff, expected) << "mix " << rop2;
    }
}

} // namespace
} // namespace vimbrel
