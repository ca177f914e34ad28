#include "app/win32/progress_window.h"

#include <commctrl.h>

#include "app/win32/dpi.h"
#include "app/win32/window_class.h"
#include "app/window_logic/window_desktop.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {
namespace {

constexpr wchar_t kClass[] = L"VimbrelProgress";

} // namespace

ProgressWindow::ProgressWindow(HWND owner) : mOwner(owner)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerWindowClass(kClass, proc);

    const UINT dpi = dpiOf(owner);
    RECT frame{0, 0, scaled(320, dpi), scaled(100, dpi)};
    const DWORD style = WS_POPUP | WS_CAPTION;
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerRect{};
    ::GetWindowRect(owner, &ownerRect);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    mWindow = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, widen(kBoxCaption).c_str(), style,
                                ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2,
                                ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2,
                                width, height, owner, nullptr, instance, this);
    mFont = makeWindowFont(12, dpi);
    mText = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                              scaled(12, dpi), scaled(10, dpi), scaled(296, dpi), scaled(18, dpi),
                              mWindow, nullptr, instance, nullptr);
    mBar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, scaled(12, dpi),
                             scaled(32, dpi), scaled(296, dpi), scaled(18, dpi), mWindow, nullptr,
                             instance, nullptr);
    HWND cancel = ::CreateWindowExW(
        0, L"BUTTON", L"中止", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        scaled(122, dpi), scaled(62, dpi), scaled(76, dpi), scaled(25, dpi), mWindow,
        reinterpret_cast<HMENU>(INT_PTR(IDCANCEL)), instance, nullptr);
    for (HWND child : {mText, cancel}) {
        ::SendMessageW(child, WM_SETFONT, WPARAM(mFont), FALSE);
    }
    // The main window takes no input while the work runs.
    ::EnableWindow(mOwner, FALSE);
    ::ShowWindow(mWindow, SW_SHOW);
}

ProgressWindow::~ProgressWindow()
{
    ::EnableWindow(mOwner, TRUE);
    ::DestroyWindow(mWindow);
    ::DeleteObject(mFont);
    ::SetForegroundWindow(mOwner);
}

bool ProgressWindow::report(int done, int total)
{
    const std::string text = std::string(kProgressText) + " (" + std::to_string(done) + " / " +
                             std::to_string(total) + ")";
    ::SetWindowTextW(mText, widen(text).c_str());
    ::SendMessageW(mBar, PBM_SETRANGE32, 0, LPARAM(total));
    ::SendMessageW(mBar, PBM_SETPOS, WPARAM(done), 0);
    // Let the windows paint and 中止 be pressed; the work itself runs on its
    // own threads and waits for nothing here.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(int(message.wParam));
            mCancelled = true;
            break;
        }
        if (!::IsDialogMessageW(mWindow, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return !mCancelled;
}

LRESULT CALLBACK ProgressWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<ProgressWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(self));
    }
    auto* self = reinterpret_cast<ProgressWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        if (self != nullptr) {
            self->mCancelled = true;
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace vimbrel::win32
