#pragma once

#include <cstdint>
#include <span>

#include <QImage>

namespace vimbrel {

// The primary image of a HEIC/HEIF file (as phones write them) as RGB888,
// turned as its rotation and mirroring say. A null image when it cannot be
// decoded or is larger than the picture limits.
QImage decodeHeif(std::span<const uint8_t> file);

} // namespace vimbrel
