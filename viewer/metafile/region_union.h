#pragma once

#include <vector>

#include <QRect>
#include <QRegion>

namespace vimbrel {

// The union of `rects`. Unites them pairwise, level by level, so that many
// rectangles cost n log n rather than the n squared of adding them one by one.
QRegion uniteRects(std::vector<QRect> rects);

} // namespace vimbrel
