#include "viewer/metafile_picture.h"

#include <fstream>
#include <optional>
#include <vector>

#include "viewer/metafile_limits.h"
#include "viewer/metafile_player.h"

namespace vimbrel {
namespace {

// The whole file, or nothing when it cannot be read or is too large.
std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > metafile_limits::kMaxFileBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

QImage loadMetafilePicture(const std::string& path)
{
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        return {};
    }
    return playMetafile(*bytes);
}

} // namespace vimbrel
