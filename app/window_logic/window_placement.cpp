#include "app/window_logic/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vimbrel {
namespace {

bool overlaps(const WindowBounds& a, const WindowBounds& b)
{
    return int64_t(a.left) < int64_t(b.left) + b.width &&
           int64_t(b.left) < int64_t(a.left) + a.width &&
           int64_t(a.top) < int64_t(b.top) + b.height && int64_t(b.top) < int64_t(a.top) + a.height;
}

// How far apart two ranges lie; 0 where they meet.
int64_t gap(int64_t start1, int64_t length1, int64_t start2, int64_t length2)
{
    return std::max<int64_t>({0, start2 - (start1 + length1), start1 - (start2 + length2)});
}

int64_t distance(const WindowBounds& a, const WindowBounds& b)
{
    const int64_t dx = gap(a.left, a.width, b.left, b.width);
    const int64_t dy = gap(a.top, a.height, b.top, b.height);
    return dx * dx + dy * dy;
}

} // namespace

WindowBounds placementOnScreens(const WindowBounds& stored,
                                const std::vector<WindowBounds>& screens)
{
    if (screens.empty()) {
        return stored;
    }
    const WindowBounds* nearest = nullptr;
    int64_t nearestDistance = std::numeric_limits<int64_t>::max();
    for (const WindowBounds& screen : screens) {
        if (overlaps(stored, screen)) {
            return stored;
        }
        const int64_t d = distance(stored, screen);
        if (d < nearestDistance) {
            nearestDistance = d;
            nearest = &screen;
        }
    }
    WindowBounds shown = stored;
    shown.width = std::clamp(stored.width, 1, std::max(1, nearest->width));
    shown.height = std::clamp(stored.height, 1, std::max(1, nearest->height));
    shown.left = int(std::clamp<int64_t>(stored.left, nearest->left,
                                         int64_t(nearest->left) + nearest->width - shown.width));
    shown.top = int(std::clamp<int64_t>(stored.top, nearest->top,
                                        int64_t(nearest->top) + nearest->height - shown.height));
    return shown;
}

} // namespace vimbrel
