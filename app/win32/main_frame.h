#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/win32/form.h"

namespace vimbrel {
class MainWindowLogic;
}

namespace vimbrel::win32 {

// The window class of the main window, which a later start looks for.
inline constexpr wchar_t kMainWindowClass[] = L"TForm1";
// What a later start's WM_COPYDATA carries (its folder, UTF-8, may be empty).
inline constexpr ULONG_PTR kShowAgainMessage = 0x56424c31; // "VBL1"

class ShellTree;
class Win32Controls;
class Win32Desktop;

// The main window (TForm1): builds the form, hands the controls' events to
// the window's behaviour and lays the form out when the window's size or
// dpi changes. Closing it saves the settings; the program ends then, or,
// while a viewer window it served is open in the browser, once that has gone
// (the window hidden meanwhile, shown again by a later start).
class MainFrame
{
public:
    // Creates the window and loads the settings into it; `startFolder`, when
    // not empty, is chosen in the tree in place of the stored one. The
    // window shows itself at its stored place.
    explicit MainFrame(std::string startFolder);
    ~MainFrame();
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    HWND handle() const { return mForm.window; }
    // Gives the keyboard's dialog keys (Tab, arrows in radio groups, Enter,
    // Escape) of `message` to the window they belong to; true when taken.
    bool takeDialogKeys(MSG& message);

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void create(HWND window);
    void command(int id, int code);
    bool notify(const NMHDR& header, LRESULT& result);
    void destroy();
    // WM_CLOSE: saves; ends, or hides and serves on while a viewer is open.
    void closing();
    void lookAtViewer();
    // WM_COPYDATA from a later start: the window shows again, with its
    // folder chosen.
    bool showAgain(const COPYDATASTRUCT& data);

    std::string mStartFolder;
    Form mForm;
    UINT mDpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<ShellTree> mTree;
    std::unique_ptr<Win32Controls> mControls;
    std::unique_ptr<Win32Desktop> mDesktop;
    std::unique_ptr<MainWindowLogic> mLogic;
};

} // namespace vimbrel::win32
