#include "app/window_logic/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace vimbrel {
namespace {

bool same(const WindowBounds& a, const WindowBounds& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

TEST(WindowPlacement, APlaceOnAnyMonitorStaysEvenInPart)
{
    const std::vector<WindowBounds> screens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    for (const WindowBounds stored :
         {WindowBounds{100, 100, 400, 350}, WindowBounds{2000, 500, 400, 350},
          WindowBounds{-300, -20, 400, 350}}) {
        EXPECT_TRUE(same(placementOnScreens(stored, screens), stored));
    }
}

TEST(WindowPlacement, APlaceOffEveryMonitorComesOntoTheNearest)
{
    const std::vector<WindowBounds> screens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    // Where a third monitor stood, to the right of the second.
    EXPECT_TRUE(same(placementOnScreens({3500, 200, 400, 350}, screens),
                     WindowBounds{2800, 200, 400, 350}));
    // Far above the first, and larger than it.
    EXPECT_TRUE(
        same(placementOnScreens({10, -5000, 2500, 1200}, screens), WindowBounds{0, 0, 1920, 1040}));
    // Extreme values from a damaged settings file neither overflow nor
    // leave the window out of sight.
    const WindowBounds wild = placementOnScreens({INT_MAX, INT_MIN, INT_MAX, 5}, screens);
    EXPECT_TRUE(same(wild, WindowBounds{1920, 0, 1280, 5}));
    // Without any monitor known, the stored place is all there is.
    EXPECT_TRUE(
        same(placementOnScreens({9000, 9000, 400, 350}, {}), WindowBounds{9000, 9000, 400, 350}));
}

} // namespace
} // namespace vimbrel
