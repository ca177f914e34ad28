#include "viewer/metafile/metafile_picture.h"

#include <mutex>
#include <span>

#include "platform/whole_file.h"
#include "viewer/metafile/metafile_limits.h"
#include "viewer/metafile/metafile_player.h"
#include "viewer/pictures/qt/qt_raster.h"

namespace vimbrel {

QImage loadMetafilePicture(const std::string& path)
{
    // A pipe or device under a metafile's name is refused, never waited on.
    const WholeFile whole = readWholeFile(path, size_t(metafile_limits::kMaxFileBytes));
    if (whole.state != WholeFile::State::Read) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(whole.bytes.data());
    return drawMetafilePicture(std::span<const uint8_t>(bytes, whole.bytes.size()));
}

Raster loadMetafileRaster(const std::string& path)
{
    return rasterOnWhite(loadMetafilePicture(path));
}

QImage drawMetafilePicture(std::span<const uint8_t> bytes)
{
    // Metafiles may draw text, and font lookup is the one part of the drawing
    // that is not meant to run in several threads at once.
    static std::mutex fontMutex;
    const std::lock_guard lock(fontMutex);
    return playMetafile(bytes);
}

} // namespace vimbrel
