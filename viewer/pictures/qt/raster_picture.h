#pragma once

#include <QByteArray>
#include <QImage>

namespace vimbrel {

enum class RasterFormat
{
    Bitmap, // Windows bitmap (.bmp)
    Icon,   // Windows icon (.ico): the largest image it holds
};

// Decodes a Windows bitmap (with the DIB decoder) or icon (with Qt) from its
// file content as RGB888, with transparent parts laid on white. A null image
// when it cannot be read.
QImage decodeRasterPicture(const QByteArray& content, RasterFormat format);

// `image` as RGB888 with any transparency laid on white.
QImage onWhite(const QImage& image);

} // namespace vimbrel
