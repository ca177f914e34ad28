#include "viewer/metafile/dib_image.h"

#include "viewer/pictures/qt/qt_raster.h"

namespace vimbrel {

QImage dibImage(const Raster& bitmap)
{
    const QImage image = imageOf(bitmap);
    return bitmap.hasAlpha() ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied) : image;
}

} // namespace vimbrel
