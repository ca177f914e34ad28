#pragma once

#include <windows.h>

#include "app/win32/form_layout.h"

namespace vimbrel::win32 {

// The small picture of a button: one of the system's stock icons at the
// size small icons have at `dpi`; null where the system has none. The
// caller destroys it.
HICON glyphIcon(Glyph glyph, UINT dpi);

} // namespace vimbrel::win32
