#include <QByteArray>

#include "viewer/pictures/qt/qt_raster.h"
#include "viewer/pictures/qt/raster_picture.h"
#include "viewer/pictures/raster_decoders.h"

namespace vimbrel {
namespace {

Raster decodeAs(std::span<const std::uint8_t> file, RasterFormat format)
{
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                       static_cast<qsizetype>(file.size()));
    return rasterOnWhite(decodeRasterPicture(content, format));
}

Raster decodeBitmap(std::span<const std::uint8_t> file)
{
    return decodeAs(file, RasterFormat::Bitmap);
}

Raster decodeIcon(std::span<const std::uint8_t> file)
{
    return decodeAs(file, RasterFormat::Icon);
}

} // namespace

const RasterDecoders& platformRasterDecoders()
{
    static const RasterDecoders decoders{decodeBitmap, decodeIcon};
    return decoders;
}

} // namespace vimbrel
