#pragma once

#include "app/window_logic/control.h"

namespace vimbrel::win32 {

// The child-window identifiers of the main window's controls: each control
// the behaviour names has its own, from kControlIdBase on; the rest follow.
inline constexpr int kControlIdBase = 1000;
inline constexpr int idOf(Control control)
{
    return kControlIdBase + int(control);
}

inline constexpr int kBtnShowId = 900;
inline constexpr int kBtnVerId = 901;
inline constexpr int kBtnHelpId = 902;
inline constexpr int kPageId = 903;
inline constexpr int kTreeDriveId = 904;
inline constexpr int kStatusId = 905;
// The spin boxes' arrows, beside their edits (which carry the control's id).
inline constexpr int kSpinFCntArrowsId = 906;
inline constexpr int kSpinKetaArrowsId = 907;
// Controls nobody addresses: labels, frames, group boxes.
inline constexpr int kStaticId = -1;

} // namespace vimbrel::win32
