#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "viewer/pictures/draw_budget.h"
#include "viewer/pictures/raster.h"

// How this platform draws the pictures that browsers cannot, for the
// renditions: on Linux the tool's metafile player, Qt's TIFF reader and
// libheif; on Windows GDI and the system's imaging component (WIC). Each
// gives RGB888 on white, turned as the picture's orientation says; a null
// raster when the picture cannot be drawn. Safe to call from several threads.
namespace vimbrel::rendition_pictures {

// A metafile is drawn within `budget`.
Raster drawMetafile(std::span<const uint8_t> file, DrawBudget& budget);
Raster decodeTiff(std::span<const uint8_t> file);
Raster decodeHeif(std::span<const uint8_t> file);

// `picture` as a PNG file; nothing when it cannot be written.
std::optional<std::vector<uint8_t>> png(const Raster& picture);

} // namespace vimbrel::rendition_pictures
