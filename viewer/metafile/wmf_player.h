#pragma once

#include <cstdint>
#include <span>

#include <QImage>

namespace vimbrel {

// Draws a Windows metafile (WMF, with or without the placeable header) at its
// own size on white. A null image when the file is damaged or claims a
// picture larger than the player draws. `drawText` is false where no font
// system is available; text records are then skipped.
QImage playWmf(std::span<const uint8_t> file, bool drawText);

} // namespace vimbrel
