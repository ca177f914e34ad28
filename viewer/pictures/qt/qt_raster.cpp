#include "viewer/pictures/qt/qt_raster.h"

#include <cstring>

#include "viewer/pictures/qt/raster_picture.h"

namespace vimbrel {

namespace {

QImage::Format qtFormatOf(Raster::Format format)
{
    switch (format) {
    case Raster::Format::Rgb888:
        return QImage::Format_RGB888;
    case Raster::Format::Rgb32:
        return QImage::Format_RGB32;
    case Raster::Format::Argb32:
        return QImage::Format_ARGB32;
    case Raster::Format::Argb32Premultiplied:
        return QImage::Format_ARGB32_Premultiplied;
    }
    return QImage::Format_Invalid;
}

} // namespace

Raster rasterOnWhite(const QImage& image)
{
    return image.isNull() ? Raster() : rasterOf(onWhite(image));
}

QImage imageOf(const Raster& raster)
{
    if (raster.isNull()) {
        return {};
    }
    return QImage(raster.bytes.data(), raster.width, raster.height,
                  static_cast<qsizetype>(raster.stride), qtFormatOf(raster.format))
        .copy();
}

Raster rasterOf(const QImage& image)
{
    for (const Raster::Format format :
         {Raster::Format::Rgb888, Raster::Format::Rgb32, Raster::Format::Argb32,
          Raster::Format::Argb32Premultiplied}) {
        if (image.isNull() || image.format() != qtFormatOf(format)) {
            continue;
        }
        Raster raster = Raster::make(image.width(), image.height(), format);
        for (int y = 0; y < raster.height && !raster.isNull(); ++y) {
            std::memcpy(raster.row(y), image.constScanLine(y), raster.stride);
        }
        return raster;
    }
    return {};
}

} // namespace vimbrel
