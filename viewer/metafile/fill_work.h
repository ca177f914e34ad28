#pragma once

#include <QPainterPath>

// What filling and stroking a path costs Qt's raster engine, in the work
// units of DrawBudget, estimated before it is drawn (fill_cost.h).
namespace vimbrel::fill_work {

// Filling `path` (picture pixels) in a picture `height` rows high.
double ofFill(const QPainterPath& path, double height);

// Stroking `path` with a pen `penWidth` pixels wide.
double ofStroke(const QPainterPath& path, double height, double penWidth);

} // namespace vimbrel::fill_work
