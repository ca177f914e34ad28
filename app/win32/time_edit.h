#pragma once

#include <windows.h>

#include <string>

namespace vimbrel::win32 {

// Makes `edit` an interval box: three digit places, a fixed point and one
// digit place ("  1.0"), typed over in place; empty places show blank.
void makeTimeEdit(HWND edit);

// The box's four places without the point ("  10"), and the reverse.
std::string timeText(HWND edit);
void setTimeText(HWND edit, const std::string& text);

} // namespace vimbrel::win32
