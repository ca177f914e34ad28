#pragma once

#include <windows.h>

#include <string>

namespace vimbrel::win32 {

// The progress of long work: a small window with the count, a bar and 中止,
// above the main window, which takes no input meanwhile but stays painted:
// each report lets the window's messages through.
class ProgressWindow
{
public:
    explicit ProgressWindow(HWND owner);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Shows `done` of `total`; false once 中止 has been pressed.
    bool report(int done, int total);
    HWND handle() const { return mWindow; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND mOwner;
    HWND mWindow = nullptr;
    HWND mText = nullptr;
    HWND mBar = nullptr;
    HFONT mFont = nullptr;
    bool mCancelled = false;
};

} // namespace vimbrel::win32
