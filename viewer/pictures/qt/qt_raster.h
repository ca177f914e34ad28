#pragma once

#include <QImage>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// Between Qt's images and the tool's rasters, where Linux decodes or draws
// through Qt: `image` laid on white as RGB888; a null raster for a null image.
Raster rasterOnWhite(const QImage& image);

// A raster as a QImage of its own (a deep copy) in the same pixel format.
QImage imageOf(const Raster& raster);

// A QImage of format RGB888, RGB32, ARGB32 or ARGB32_Premultiplied as a
// raster of the same format (a deep copy); a null raster for other formats.
Raster rasterOf(const QImage& image);

} // namespace vimbrel
