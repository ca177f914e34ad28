#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <QImage>

#include "viewer/pictures/draw_budget.h"
#include "viewer/pictures/raster.h"

namespace vimbrel {

// Draws a Windows metafile (placeable or plain WMF, or EMF) at its own size on
// a white background. A null image when the file cannot be read or drawn, or
// when drawing it goes beyond `budget` (see its state()). Safe to call from
// several threads.
QImage loadMetafilePicture(const std::string& path, DrawBudget& budget);

// loadMetafilePicture as an RGB888 raster, as the picture loader takes it.
Raster loadMetafileRaster(const std::string& path, DrawBudget& budget);

// The same for a metafile held in memory.
QImage drawMetafilePicture(std::span<const uint8_t> bytes, DrawBudget& budget);

// Both within the budget every picture gets by default.
QImage loadMetafilePicture(const std::string& path);
QImage drawMetafilePicture(std::span<const uint8_t> bytes);

} // namespace vimbrel
