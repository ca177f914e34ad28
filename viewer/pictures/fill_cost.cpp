#include "viewer/pictures/fill_cost.h"

#include <algorithm>
#include <cmath>

namespace vimbrel::fill_cost {
namespace {

// Sorting the crossings of a row costs more than filling a pixel; measured
// on Qt's raster engine, about twice as much per pair.
constexpr double kPairWeight = 2.0;

// Pens up to this width are drawn as thin lines.
constexpr double kThinPen = 1.5;

double rowWork(double crossings, double rows)
{
    return crossings + kPairWeight * crossings * (crossings / std::max(rows, 1.0));
}

} // namespace

void Edges::add(double fromX, double fromY, double toX, double toY)
{
    const auto row = [this](double y) {
        return std::isfinite(y) ? std::clamp(y, 0.0, std::max(mHeight, 0.0)) : 0.0;
    };
    const double a = row(fromY);
    const double b = row(toY);
    mCrossings += std::abs(b - a);
    const double along = std::max(std::abs(toX - fromX), std::abs(toY - fromY));
    mLength += std::isfinite(along) ? along : 0.0;
    mSegments += 1;
    mTop = std::min({mTop, a, b});
    mBottom = std::max({mBottom, a, b});
}

double Edges::fillWork() const
{
    return rowWork(mCrossings, rows());
}

double Edges::strokeWork(double penWidth) const
{
    if (penWidth <= kThinPen) {
        return mLength;
    }
    // The outline runs down both sides of every segment and round its joins.
    const double crossings = 2 * (mCrossings + mSegments * std::min(penWidth, mHeight));
    return rowWork(crossings, rows() + penWidth) + mLength * penWidth;
}

} // namespace vimbrel::fill_cost
