#include "viewer/server/rendition_pictures.h"

#include <QBuffer>
#include <QImage>

#include "viewer/metafile/metafile_picture.h"
#include "viewer/pictures/qt/heif_picture.h"
#include "viewer/pictures/qt/qt_raster.h"
#include "viewer/pictures/qt/tiff_picture.h"

namespace vimbrel::rendition_pictures {

Raster drawMetafile(std::span<const uint8_t> file, DrawBudget& budget)
{
    return rasterOnWhite(drawMetafilePicture(file, budget));
}

Raster decodeTiff(std::span<const uint8_t> file)
{
    return rasterOnWhite(vimbrel::decodeTiff(file));
}

Raster decodeHeif(std::span<const uint8_t> file)
{
    return rasterOnWhite(vimbrel::decodeHeif(file));
}

std::optional<std::vector<uint8_t>> png(const Raster& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !imageOf(picture).save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace vimbrel::rendition_pictures
