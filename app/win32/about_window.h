#pragma once

#include <windows.h>

namespace vimbrel::win32 {

// The version box (バージョン情報): one window for the whole run, made
// hidden at start, shown without holding up the main window and above the
// other windows, and only hidden again, by OK, Enter, Escape or its close
// button.
class AboutWindow
{
public:
    explicit AboutWindow(HWND owner);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Shows it at the centre of the screen, or brings it to the front.
    void show();
    HWND handle() const { return mWindow; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc);

    HWND mWindow = nullptr;
    HWND mOk = nullptr;
    HICON mPicture = nullptr;
};

} // namespace vimbrel::win32
