#include "viewer/pictures/qt/tiff_picture.h"

#include <QBuffer>
#include <QImageReader>

#include "viewer/pictures/picture_limits.h"

namespace vimbrel {

QImage decodeTiff(std::span<const uint8_t> file)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer, "tiff");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    // Qt's own allocation limit (128 MB) would refuse pictures the limits
    // allow; room for the largest of them at 8 bytes a pixel instead.
    reader.setAllocationLimit(int(picture_limits::kMaxPixels * 8 / (1024 * 1024)) + 1);
    // Sides as the header gives them, refused before anything is decoded.
    const QSize size = reader.size();
    if (!picture_limits::fits(size.width(), size.height())) {
        return {};
    }
    QImage image;
    if (!reader.read(&image) || !picture_limits::fits(image.width(), image.height())) {
        return {};
    }
    return image;
}

} // namespace vimbrel
