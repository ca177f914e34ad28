#include "viewer/server/rendition.h"

#include <QBuffer>
#include <QImage>

#include "platform/byte_text.h"
#include "viewer/metafile/metafile_picture.h"
#include "viewer/pictures/jpeg_encoder.h"
#include "viewer/pictures/qt/heif_picture.h"
#include "viewer/pictures/qt/raster_picture.h"
#include "viewer/pictures/qt/tiff_picture.h"

namespace vimbrel {
namespace {

enum class Kind
{
    None,
    Metafile,
    Tiff,
    Heif,
};

Kind kindOf(const std::string& name)
{
    const std::string extension = text::upperExtension(name);
    if (extension == "WMF" || extension == "EMF") {
        return Kind::Metafile;
    }
    if (extension == "TIF" || extension == "TIFF") {
        return Kind::Tiff;
    }
    if (extension == "HEIC" || extension == "HEIF") {
        return Kind::Heif;
    }
    return Kind::None;
}

std::optional<Rendition> asPng(const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return Rendition{"image/png", std::vector<uint8_t>(png.begin(), png.end())};
}

std::optional<Rendition> asJpeg(const QImage& picture)
{
    const QImage rgb = onWhite(picture); // RGB888
    if (rgb.isNull()) {
        return std::nullopt;
    }
    // The encoder takes rows without the padding QImage keeps.
    std::vector<uint8_t> pixels(size_t(rgb.width()) * 3 * size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        std::copy_n(rgb.constScanLine(y), size_t(rgb.width()) * 3,
                    pixels.begin() + ptrdiff_t(y) * rgb.width() * 3);
    }
    Rendition rendition{"image/jpeg", {}};
    JpegEncoder encoder;
    if (!encoder.encode(pixels.data(), rgb.width(), rgb.height(), rendition.bytes)) {
        return std::nullopt;
    }
    return rendition;
}

} // namespace

bool needsRendition(const std::string& name)
{
    return kindOf(name) != Kind::None;
}

std::optional<Rendition> makeRendition(const std::string& name, std::span<const uint8_t> file)
{
    switch (kindOf(name)) {
    case Kind::Metafile: {
        const QImage picture = drawMetafilePicture(file);
        return picture.isNull() ? std::nullopt : asPng(onWhite(picture));
    }
    case Kind::Tiff: {
        const QImage picture = decodeTiff(file);
        return picture.isNull() ? std::nullopt : asJpeg(picture);
    }
    case Kind::Heif: {
        const QImage picture = decodeHeif(file);
        return picture.isNull() ? std::nullopt : asJpeg(picture);
    }
    case Kind::None:
        break;
    }
    return std::nullopt;
}

} // namespace vimbrel
