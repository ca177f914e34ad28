#include "viewer/pictures/qt/qt_raster.h"

#include <cstring>

#include "viewer/pictures/qt/raster_picture.h"

namespace vimbrel {

Raster rasterOnWhite(const QImage& image)
{
    const QImage rgb = image.isNull() ? QImage() : onWhite(image);
    if (rgb.isNull()) {
        return {};
    }
    Raster raster = Raster::make(rgb.width(), rgb.height(), Raster::Format::Rgb888);
    for (int y = 0; y < raster.height; ++y) {
        std::memcpy(raster.row(y), rgb.constScanLine(y), raster.stride);
    }
    return raster;
}

QImage imageOf(const Raster& raster)
{
    if (raster.isNull()) {
        return {};
    }
    const QImage::Format format =
        raster.format == Raster::Format::Rgb888 ? QImage::Format_RGB888 : QImage::Format_ARGB32;
    return QImage(raster.bytes.data(), raster.width, raster.height,
                  static_cast<qsizetype>(raster.stride), format)
        .copy();
}

} // namespace vimbrel
