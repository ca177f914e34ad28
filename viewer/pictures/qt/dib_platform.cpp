#include "viewer/pictures/dib_platform.h"

#include <QColorSpace>
#include <QImage>

#include <algorithm>
#include <climits>

#include "viewer/pictures/qt/qt_raster.h"

namespace vimbrel::dib {

Raster decodeEmbedded(std::span<const uint8_t> file, EmbeddedFormat format)
{
    QImage image;
    if (!image.loadFromData(file.data(), static_cast<int>(std::min<size_t>(file.size(), INT_MAX)),
                            format == EmbeddedFormat::Png ? "PNG" : "JPEG")) {
        return {};
    }
    return rasterOf(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                  : QImage::Format_RGB32));
}

Raster inSrgb(Raster image, std::span<const uint8_t> profile)
{
    const QColorSpace space = QColorSpace::fromIccProfile(
        QByteArray(reinterpret_cast<const char*>(profile.data()), qsizetype(profile.size())));
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb)) {
        return image;
    }
    QImage converted = imageOf(image);
    converted.setColorSpace(space);
    converted.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    return rasterOf(
        converted.convertToFormat(image.hasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32));
}

} // namespace vimbrel::dib
