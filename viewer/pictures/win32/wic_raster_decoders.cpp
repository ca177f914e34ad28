#include "viewer/pictures/raster_decoders.h"
#include "viewer/pictures/win32/wic.h"

namespace vimbrel {

Raster decodeIconFile(std::span<const std::uint8_t> file)
{
    return wic::decode(file, wic::Container::Icon);
}

} // namespace vimbrel
