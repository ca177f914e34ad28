#pragma once

#include <cstdint>
#include <span>

#include <QImage>

namespace vimbrel {

// Draws the metafile held in `bytes` (EMF, or WMF with or without the
// placeable header) at its own size on white; a null image when it cannot be
// drawn. Text is drawn only where a GUI application provides the fonts.
QImage playMetafile(std::span<const uint8_t> bytes);

} // namespace vimbrel
