#pragma once

#include <windows.h>

namespace vimbrel::win32 {

// The dots per inch of the monitor `window` is on (96 where the system
// cannot say), and pixels at 96 dpi scaled to it.
UINT dpiOf(HWND window);
int scaled(int pixels, UINT dpi);
// Pixels at `dpi` as pixels at 96 dpi.
int unscaled(int pixels, UINT dpi);

// The window's fonts at `pixels` (at 96 dpi) for `dpi`: "ＭＳ Ｐゴシック", or
// "ＭＳ ゴシック" when `fixedPitch`, in the Shift-JIS character set. The
// caller deletes them.
HFONT makeWindowFont(int pixels, UINT dpi, bool fixedPitch = false, bool bold = false);

} // namespace vimbrel::win32
