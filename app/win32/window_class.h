#pragma once

#include <windows.h>

namespace vimbrel::win32 {

// The program's icon among its resources.
inline constexpr int kProgramIconResource = 1;

// Registers the window class `name` of this program with `procedure`, the
// arrow cursor, the dialog face colour and, when given, the program's icon
// (resource `iconResource`). Registering a class again does nothing.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, int iconResource = 0);

} // namespace vimbrel::win32
