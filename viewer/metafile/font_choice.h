#pragma once

#include <QFont>
#include <QStringList>

#include "viewer/metafile/gdi_objects.h"

// Which font draws a metafile's text: chosen by rule from the face the file
// names, never by whatever the machine's font configuration ranks first, so
// that installing or removing other fonts changes no picture. The faces of
// Windows map to metric-compatible families the tool installs (Liberation
// for the core fonts, Noto CJK for the Japanese ones, DejaVu where the
// others lack a glyph); other names fall back by the font's pitch and
// family bits, and by its character set.
namespace vimbrel::font_choice {

// The families to draw the font in, first choice first, each later one for
// the characters the earlier ones lack.
QStringList familiesFor(const GdiFont& font);

// Whether the device smooths the glyphs of `font` at its pixel size: as the
// font's own table of sizes ('gasp') says; true where it has none. Windows
// draws a picture's small and large text smoothed, and the sizes between
// crisp, as each font asks.
bool smoothed(const QFont& font);

} // namespace vimbrel::font_choice
