#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <QImage>

#include "viewer/pictures/raster.h"

namespace vimbrel {

// Draws a Windows metafile (placeable or plain WMF, or EMF) at its own size on
// a white background. A null image when the file cannot be read or drawn.
QImage loadMetafilePicture(const std::string& path);

// loadMetafilePicture as an RGB888 raster, as the picture loader takes it.
Raster loadMetafileRaster(const std::string& path);

// The same for a metafile held in memory. Safe to call from several threads.
QImage drawMetafilePicture(std::span<const uint8_t> bytes);

} // namespace vimbrel
