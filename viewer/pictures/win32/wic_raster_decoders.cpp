#include "viewer/pictures/raster_decoders.h"
#include "viewer/pictures/win32/wic.h"

namespace vimbrel {
namespace {

Raster decodeBitmap(std::span<const std::uint8_t> file)
{
    return wic::decode(file, wic::Container::Bitmap);
}

Raster decodeIcon(std::span<const std::uint8_t> file)
{
    return wic::decode(file, wic::Container::Icon);
}

} // namespace

const RasterDecoders& platformRasterDecoders()
{
    static const RasterDecoders decoders{decodeBitmap, decodeIcon};
    return decoders;
}

} // namespace vimbrel
