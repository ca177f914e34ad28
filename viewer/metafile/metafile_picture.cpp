#include "viewer/metafile/metafile_picture.h"

#include <mutex>
#include <span>

#include "platform/whole_file.h"
#include "viewer/metafile/metafile_limits.h"
#include "viewer/metafile/metafile_player.h"
#include "viewer/pictures/qt/qt_raster.h"

namespace vimbrel {

QImage loadMetafilePicture(const std::string& path, DrawBudget& budget)
{
    // A pipe or device under a metafile's name is refused, never waited on.
    const WholeFile whole = readWholeFile(path, size_t(metafile_limits::kMaxFileBytes));
    if (whole.state != WholeFile::State::Read) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(whole.bytes.data());
    return drawMetafilePicture(std::span<const uint8_t>(bytes, whole.bytes.size()), budget);
}

Raster loadMetafileRaster(const std::string& path, DrawBudget& budget)
{
    return rasterOnWhite(loadMetafilePicture(path, budget));
}

QImage drawMetafilePicture(std::span<const uint8_t> bytes, DrawBudget& budget)
{
    // Metafiles may draw text, and font lookup is the one part of the drawing
    // that is not meant to run in several threads at once. The budget counts
    // the drawing thread's own processor time, so waiting here costs nothing.
    static std::mutex fontMutex;
    const std::lock_guard lock(fontMutex);
    return playMetafile(bytes, budget);
}

QImage loadMetafilePicture(const std::string& path)
{
    DrawBudget budget;
    return loadMetafilePicture(path, budget);
}

QImage drawMetafilePicture(std::span<const uint8_t> bytes)
{
    DrawBudget budget;
    return drawMetafilePicture(bytes, budget);
}

} // namespace vimbrel
