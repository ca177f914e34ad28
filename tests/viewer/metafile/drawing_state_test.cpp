#include "viewer/metafile/drawing_state.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

constexpr double kPerMm = 4; // device units per millimetre

TEST(DrawingState, FixedModesMeasureInTheirUnitsWithYGrowingUpwards)
{
    DrawingState state;
    state.setMapMode(DrawingState::LoMetric, kPerMm, kPerMm);
    // 100 units of 0.1 mm are 10 mm: 40 device units, upwards.
    EXPECT_EQ(state.pageTransform(kPerMm, kPerMm).map(QPointF(100, 100)), QPointF(40, -40));
    state.setMapMode(DrawingState::Twips, kPerMm, kPerMm);
    const QPointF inch = state.pageTransform(kPerMm, kPerMm).map(QPointF(1440, 0));
    EXPECT_NEAR(inch.x(), 25.4 * kPerMm, 1e-9);
    // Window extents do not change a fixed mode.
    state.windowExt = QSizeF(1, 1);
    state.viewportExt = QSizeF(1000, 1000);
    EXPECT_NEAR(state.pageTransform(kPerMm, kPerMm).map(QPointF(1440, 0)).x(), 25.4 * kPerMm, 1e-9);
}

TEST(DrawingState, AnisotropicAndIsotropicMapping)
{
    DrawingState state;
    state.setMapMode(DrawingState::Anisotropic, kPerMm, kPerMm);
    state.windowOrg = QPointF(10, 10);
    state.windowExt = QSizeF(100, 50);
    state.viewportOrg = QPointF(5, 0);
    state.viewportExt = QSizeF(200, -200);
    EXPECT_EQ(state.pageTransform(kPerMm, kPerMm).map(QPointF(60, 35)), QPointF(105, -100));

    // Isotropic takes the smaller scale on both axes, each keeping its sign.
    state.setMapMode(DrawingState::Isotropic, kPerMm, kPerMm);
    EXPECT_EQ(state.pageTransform(kPerMm, kPerMm).map(QPointF(60, 35)), QPointF(105, -50));
}

TEST(DrawingState, EnteringAnisotropicKeepsTheFixedScale)
{
    DrawingState state;
    state.setMapMode(DrawingState::HiMetric, kPerMm, kPerMm);
    state.setMapMode(DrawingState::Anisotropic, kPerMm, kPerMm);
    EXPECT_EQ(state.pageTransform(kPerMm, kPerMm).map(QPointF(1000, 1000)), QPointF(40, -40));
    // Unknown modes are ignored.
    state.setMapMode(99, kPerMm, kPerMm);
    EXPECT_EQ(state.mapMode, DrawingState::Anisotropic);
}

} // namespace
} // namespace vimbrel
