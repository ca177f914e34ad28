#include "viewer/pictures/raster_picture.h"

#include <QBuffer>
#include <QImageReader>

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

// Qt decodes as much of a cut-off bitmap as is there and fills the rest, so
// a truncated file is caught here by the sizes its header gives.
bool bitmapIsWhole(const QByteArray& bytes)
{
    if (bytes.size() < 26 || !bytes.startsWith("BM")) {
        return false;
    }
    const qint64 dataOffset = little(bytes, 10, 4);
    const quint32 headerSize = little(bytes, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitCount = 0;
    quint32 compression = 0;
    qint64 imageSize = 0;
    if (headerSize == 12) { // OS/2 core header
        width = little(bytes, 18, 2);
        height = little(bytes, 20, 2);
        bitCount = little(bytes, 24, 2);
    } else {
        if (bytes.size() < 38) {
            return false;
        }
        width = static_cast<qint32>(little(bytes, 18, 4));
        height = static_cast<qint32>(little(bytes, 22, 4));
        bitCount = little(bytes, 28, 2);
        compression = little(bytes, 30, 4);
        imageSize = little(bytes, 34, 4);
    }
    height = height < 0 ? -height : height;
    // Sides beyond a million pixels are forged; the bound keeps the sums below in range.
    constexpr qint64 kMaxSide = qint64(1) << 20;
    if (width <= 0 || width > kMaxSide || height > kMaxSide || bitCount <= 0 || bitCount > 64) {
        return false;
    }
    qint64 needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) { // uncompressed rows
        needed = (width * bitCount + 31) / 32 * 4 * height;
    } else {
        needed = imageSize; // run-length or embedded data: its size as stated
    }
    return dataOffset + needed <= bytes.size();
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
    if (!(format == RasterFormat::Bitmap ? bitmapIsWhole(content) : iconIsWhole(content))) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(content);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer, format == RasterFormat::Bitmap ? "bmp" : "ico");
    // The extension decides the format, as it does for every picture.
    reader.setDecideFormatFromContent(false);
    const QImage image = format == RasterFormat::Icon ? largestIcon(reader) : readCleared(reader);
    if (image.isNull()) {
        return {};
    }
    return onWhite(image);
}

} // namespace vimbrel
