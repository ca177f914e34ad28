#include "viewer/pictures/sampling_plan.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTransform>

namespace vimbrel {
namespace {

// A picture in which every pixel has a colour of its own.
QImage numberedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x, y, (x * 7 + y * 13) & 255));
        }
    }
    return image;
}

// The picture as a viewer shows it, after the EXIF orientation's own words:
// 2 mirror horizontal, 3 rotate 180, 4 mirror vertical, 5 mirror horizontal
// and rotate 270 CW, 6 rotate 90 CW, 7 mirror horizontal and rotate 90 CW,
// 8 rotate 270 CW.
QImage shown(const QImage& stored, int orientation)
{
    const bool mirror = orientation == 2 || orientation == 5 || orientation == 7;
    const int degrees[] = {0, 0, 0, 180, 0, 270, 90, 90, 270};
    QImage image = mirror ? stored.mirrored(true, false) : stored;
    if (orientation == 4) {
        image = image.mirrored(false, true);
    }
    if (degrees[orientation] != 0) {
        image = image.transformed(QTransform().rotate(degrees[orientation]));
    }
    return image;
}

TEST(SamplingPlan, KeepsTheSourcePixelUnderEachTargetPixelCentreInEveryOrientation)
{
    const QImage stored = numberedPicture(37, 23);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QImage expected = shown(stored, orientation);
        const int targetWidth = 10;
        const int targetHeight = 7;
        const SamplingPlan plan(stored.width(), stored.height(), orientation, targetWidth,
                                targetHeight);
        std::vector<std::uint8_t> target(size_t(targetWidth * targetHeight * 3), 0);
        for (const SamplingPlan::Row& row : plan.rows()) {
            plan.apply(row, stored.constScanLine(row.storedRow), target.data());
        }
        for (int y = 0; y < targetHeight; ++y) {
            for (int x = 0; x < targetWidth; ++x) {
                // Centre of target pixel x of 10 over 23 (or 37) source pixels.
                const int sx = (2 * x + 1) * expected.width() / (2 * targetWidth);
                const int sy = (2 * y + 1) * expected.height() / (2 * targetHeight);
                const std::uint8_t* got = &target[size_t((y * targetWidth + x) * 3)];
                ASSERT_EQ(qRgb(got[0], got[1], got[2]), expected.pixel(sx, sy) | 0xff000000u)
                    << "orientation " << orientation << " at " << x << "," << y;
            }
        }
    }
}

TEST(SamplingPlan, ReadsStoredRowsInAscendingOrder)
{
    for (int orientation : {1, 3, 6, 8}) {
        const SamplingPlan plan(4000, 3000, orientation, 100, 75);
        const size_t expectedRows = orientation >= 5 ? 100 : 75;
        ASSERT_EQ(plan.rows().size(), expectedRows);
        for (size_t i = 1; i < plan.rows().size(); ++i) {
            EXPECT_LT(plan.rows()[i - 1].storedRow, plan.rows()[i].storedRow);
        }
        EXPECT_GE(plan.rows().front().storedRow, 0);
        EXPECT_LT(plan.rows().back().storedRow, orientation >= 5 ? 4000 : 3000);
    }
}

} // namespace
} // namespace vimbrel
