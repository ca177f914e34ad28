#pragma once

#include <QByteArray>
#include <QImage>

namespace vimbrel {

enum class RasterFormat
{
    Bitmap, // Windows bitmap (.bmp)
    Icon,   // Windows icon (.ico): the largest image it holds
};

// Decodes a Windows bitmap or icon from its file content as RGB888, with
// transparent parts laid on white. A null image when Qt cannot read it.
QImage decodeRasterPicture(const QByteArray& content, RasterFormat format);

// `image` as RGB888 with any transparency laid on white.
QImage onWhite(const QImage& image);

} // namespace vimbrel
