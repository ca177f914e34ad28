#include "viewer/pictures/qt/raster_picture.h"

#include <QBuffer>
#include <QImageReader>

#include "viewer/pictures/dib_decoder.h"
#include "viewer/pictures/qt/qt_raster.h"

namespace vimbrel {
namespace {

// An icon file names its images in a directory of at most 65535 entries;
// real icons hold a handful. More are not looked at.
constexpr int kMaxIconImages = 64;

// Reads the reader's current image into one cleared beforehand: Qt's
// bitmap reader fills the image it is handed, and a run-length bitmap that
// skips pixels would otherwise leave them as whatever the memory held.
QImage readCleared(QImageReader& reader)
{
    QImage image(reader.size(), reader.imageFormat());
    if (!image.isNull()) {
        image.fill(0);
    }
    if (!reader.read(&image)) {
        return {};
    }
    return image;
}

QImage largestIcon(QImageReader& reader)
{
    QImage largest;
    for (int i = 0; i < kMaxIconImages; ++i) {
        QImage image = readCleared(reader);
        if (image.isNull()) {
            break;
        }
        if (largest.isNull() ||
            qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height()) {
            largest = std::move(image);
        }
        if (!reader.jumpToNextImage()) {
            break;
        }
    }
    return largest;
}

quint32 little(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    }
    return value;
}

// Every image an icon's directory lists must lie inside the file.
bool iconIsWhole(const QByteArray& bytes)
{
    if (bytes.size() < 6 || little(bytes, 0, 2) != 0) {
        return false;
    }
    const qint64 count = little(bytes, 4, 2);
    if (count == 0 || 6 + 16 * count > bytes.size()) {
        return false;
    }
    for (qint64 i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        const qint64 size = little(bytes, entry + 8, 4);
        const qint64 offset = little(bytes, entry + 12, 4);
        if (offset + size > bytes.size()) {
            return false;
        }
    }
    return true;
}

} // namespace

QImage onWhite(const QImage& image)
{
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB888);
    }
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB888);
    if (argb.isNull() || out.isNull()) {
        return {};
    }
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* to = out.scanLine(y);
        for (int x = 0; x < argb.width(); ++x, to += 3) {
            const int alpha = qAlpha(in[x]);
            const int white = 255 * (255 - alpha);
            to[0] = static_cast<uchar>((qRed(in[x]) * alpha + white + 127) / 255);
            to[1] = static_cast<uchar>((qGreen(in[x]) * alpha + white + 127) / 255);
            to[2] = static_cast<uchar>((qBlue(in[x]) * alpha + white + 127) / 255);
        }
    }
    return out;
}

QImage decodeRasterPicture(const QByteArray& content, RasterFormat format)
{
    if (format == RasterFormat::Bitmap) {
        // Bitmaps go through the one DIB decoder of the tool, which the
        // metafile player uses too.
        const auto* bytes = reinterpret_cast<const uint8_t*>(content.constData());
        const QImage image = imageOf(dib::decodeFile(std::span(bytes, size_t(content.size()))));
        return image.isNull() ? QImage() : onWhite(image);
    }
    if (!iconIsWhole(content)) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(content);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    // Icons stay with Qt, which reads their directory, their bitmap entries
    // with the AND mask and the PNG entries of newer icons.
    QImageReader reader(&buffer, "ico");
    // The extension decides the format, as it does for every picture.
    reader.setDecideFormatFromContent(false);
    const QImage image = largestIcon(reader);
    if (image.isNull()) {
        return {};
    }
    return onWhite(image);
}

} // namespace vimbrel
