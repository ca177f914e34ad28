#include "viewer/metafile/region_union.h"

namespace vimbrel {

QRegion uniteRects(std::vector<QRect> rects)
{
    std::vector<QRegion> level;
    level.reserve(rects.size());
    for (const QRect& rect : rects) {
        if (!rect.isEmpty()) {
            level.emplace_back(rect);
        }
    }
    while (level.size() > 1) {
        std::vector<QRegion> next;
        next.reserve(level.size() / 2 + 1);
        for (size_t i = 0; i + 1 < level.size(); i += 2) {
            next.push_back(level[i] | level[i + 1]);
        }
        if (level.size() % 2) {
            next.push_back(level.back());
        }
        level = std::move(next);
    }
    return level.empty() ? QRegion() : level.front();
}

} // namespace vimbrel
