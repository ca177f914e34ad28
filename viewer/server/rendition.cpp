#include "viewer/server/rendition.h"

#include <algorithm>

#include "platform/byte_text.h"
#include "viewer/pictures/jpeg_encoder.h"
#include "viewer/server/rendition_pictures.h"

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

std::optional<Rendition> asPng(const Raster& picture)
{
    std::optional<std::vector<uint8_t>> png = rendition_pictures::png(picture);
    if (!png) {
        return std::nullopt;
    }
    return Rendition{"image/png", std::move(*png)};
}

std::optional<Rendition> asJpeg(const Raster& picture)
{
    if (picture.isNull() || picture.format != Raster::Format::Rgb888) {
        return std::nullopt;
    }
    // The encoder takes rows without padding.
    std::vector<uint8_t> pixels(size_t(picture.width) * 3 * size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        std::copy_n(picture.row(y), size_t(picture.width) * 3,
                    pixels.begin() + ptrdiff_t(y) * picture.width * 3);
    }
    Rendition rendition{"image/jpeg", {}};
    JpegEncoder encoder;
    if (!encoder.encode(pixels.data(), picture.width, picture.height, rendition.bytes)) {
        return std::nullopt;
    }
    return rendition;
}

} // namespace

bool needsRendition(const std::string& name)
{
    return kindOf(name) != Kind::None;
}

std::optional<Rendition> makeRendition(const std::string& name, std::span<const uint8_t> file,
                                       DrawBudget& budget)
{
    switch (kindOf(name)) {
    case Kind::Metafile:
        return asPng(rendition_pictures::drawMetafile(file, budget));
    case Kind::Tiff:
        return asJpeg(rendition_pictures::decodeTiff(file));
    case Kind::Heif:
        return asJpeg(rendition_pictures::decodeHeif(file));
    case Kind::None:
        break;
    }
    return std::nullopt;
}

} // namespace vimbrel
