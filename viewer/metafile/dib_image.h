#pragma once

#include <QImage>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// A bitmap of a metafile record, as the DIB decoder gives it, as the image
// the canvas draws: opaque pixels as RGB32, pixels with alpha premultiplied.
QImage dibImage(const Raster& bitmap);

} // namespace vimbrel
