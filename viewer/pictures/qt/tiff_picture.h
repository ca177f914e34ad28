#pragma once

#include <cstdint>
#include <span>

#include <QImage>

namespace vimbrel {

// The first image of a TIFF file, through Qt's TIFF plugin, turned as its
// orientation tag says. A null image when it cannot be read or is larger than
// the picture limits.
QImage decodeTiff(std::span<const uint8_t> file);

} // namespace vimbrel
