#include "viewer/metafile/fill_work.h"

#include "viewer/pictures/fill_cost.h"

namespace vimbrel::fill_work {
namespace {

// The edges of `path`; curves count as the legs between their control
// points, which bound them. With `closed`, each figure's closing edge counts
// too, as a fill closes it.
fill_cost::Edges edgesOf(const QPainterPath& path, double height, bool closed)
{
    fill_cost::Edges edges(height);
    QPointF start;
    QPointF previous;
    bool inFigure = false;
    const auto add = [&edges](QPointF from, QPointF to) {
        edges.add(from.x(), from.y(), to.x(), to.y());
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF point(element.x, element.y);
        if (element.isMoveTo()) {
            if (closed && inFigure) {
                add(previous, start);
            }
            start = point;
            inFigure = true;
        } else {
            add(previous, point);
        }
        previous = point;
    }
    if (closed && inFigure) {
        add(previous, start);
    }
    return edges;
}

} // namespace

double ofFill(const QPainterPath& path, double height)
{
    return edgesOf(path, height, true).fillWork();
}

double ofStroke(const QPainterPath& path, double height, double penWidth)
{
    return edgesOf(path, height, false).strokeWork(penWidth);
}

} // namespace vimbrel::fill_work
