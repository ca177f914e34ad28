#pragma once

#include <QFont>

namespace vimbrel {

// The window's proportional font, "ＭＳ Ｐゴシック", falling back to the
// Japanese fonts of the system when it is not installed.
QFont windowFont(int pixelSize);

// The fixed-pitch font of the interval boxes, "ＭＳ ゴシック", likewise.
QFont fixedPitchFont(int pixelSize);

} // namespace vimbrel
