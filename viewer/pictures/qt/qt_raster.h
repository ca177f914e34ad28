#pragma once

#include <QImage>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// Between Qt's images and the tool's rasters, where Linux decodes or draws
// through Qt: `image` laid on white as RGB888; a null raster for a null image.
Raster rasterOnWhite(const QImage& image);

// A raster as a QImage of its own (a deep copy).
QImage imageOf(const Raster& raster);

} // namespace vimbrel
