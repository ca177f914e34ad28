#include "viewer/server/rendition_pictures.h"

#include "viewer/pictures/win32/gdi_metafile.h"
#include "viewer/pictures/win32/wic.h"

namespace vimbrel::rendition_pictures {

Raster drawMetafile(std::span<const uint8_t> file, DrawBudget& budget)
{
    return gdi::drawMetafile(file, budget);
}

Raster decodeTiff(std::span<const uint8_t> file)
{
    return wic::decodeTurned(file);
}

// HEIC and HEIF where Windows has the codec installed (the HEIF Image
// Extensions); otherwise no codec reads it and the picture cannot be drawn.
Raster decodeHeif(std::span<const uint8_t> file)
{
    return wic::decodeTurned(file);
}

std::optional<std::vector<uint8_t>> png(const Raster& picture)
{
    return wic::png(picture);
}

} // namespace vimbrel::rendition_pictures
