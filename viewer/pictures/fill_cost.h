#pragma once

#include <limits>

// What filling and stroking a shape costs a raster engine, in the work units
// of DrawBudget (about the cost of filling one pixel), estimated from the
// shape's edges before it is drawn. Raster engines (Qt's, GDI's) walk the
// picture row by row and sort the edges each row crosses, so a shape whose
// edges cross every row many times (a polygon zig-zagging across the
// picture) costs far more than its area: with C crossings in all over R
// rows, at least C * C / R.
namespace vimbrel::fill_cost {

class Edges
{
public:
    // Edges in a picture `height` rows high; what lies above or below it
    // crosses no row.
    explicit Edges(double height) : mHeight(height) {}

    // One edge, in picture pixels.
    void add(double fromX, double fromY, double toX, double toY);

    // Filling the shape the edges bound.
    double fillWork() const;

    // Stroking them with a pen `penWidth` pixels wide: thin pens are drawn
    // pixel by pixel along the lines, wide ones as the outline of the stroke
    // filled.
    double strokeWork(double penWidth) const;

private:
    double rows() const { return mBottom > mTop ? mBottom - mTop : 1.0; }

    double mHeight;
    double mCrossings = 0; // rows crossed by all edges together
    double mLength = 0;    // pixels along all edges
    double mSegments = 0;
    double mTop = std::numeric_limits<double>::infinity();
    double mBottom = -std::numeric_limits<double>::infinity();
};

} // namespace vimbrel::fill_cost
