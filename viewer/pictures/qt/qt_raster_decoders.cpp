#include <QByteArray>

#include "viewer/pictures/qt/qt_raster.h"
#include "viewer/pictures/qt/raster_picture.h"
#include "viewer/pictures/raster_decoders.h"

namespace vimbrel {

Raster decodeIconFile(std::span<const std::uint8_t> file)
{
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                       static_cast<qsizetype>(file.size()));
    return rasterOnWhite(decodeRasterPicture(content, RasterFormat::Icon));
}

} // namespace vimbrel
