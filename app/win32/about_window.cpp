#include "app/win32/about_window.h"

#include "app/win32/dpi.h"
#include "app/win32/window_class.h"
#include "app/window_logic/about_text.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {
namespace {

constexpr wchar_t kClass[] = L"VimbrelAbout";

void drawText(HDC dc, const char* text, int x, int y, int width, int height, int pixels, bool bold,
              COLORREF colour, UINT dpi)
{
    HFONT font = makeWindowFont(pixels, dpi, false, bold);
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetTextColor(dc, colour);
    RECT place{scaled(x, dpi), scaled(y, dpi), scaled(x + width, dpi), scaled(y + height, dpi)};
    ::DrawTextW(dc, widen(text).c_str(), -1, &place, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
}

} // namespace

AboutWindow::AboutWindow(HWND owner)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerWindowClass(kClass, proc);

    const UINT dpi = dpiOf(owner);
    RECT frame{0, 0, scaled(298, dpi), scaled(213, dpi)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    mWindow = ::CreateWindowExW(exStyle, kClass, widen(about::kCaption).c_str(), style, 0, 0,
                                frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                instance, this);
    mOk = ::CreateWindowExW(
        0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        scaled((298 - 75) / 2, dpi), scaled(178, dpi), scaled(75, dpi), scaled(25, dpi), mWindow,
        reinterpret_cast<HMENU>(INT_PTR(IDOK)), instance, nullptr);
    ::SendMessageW(mOk, WM_SETFONT, WPARAM(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    mPicture = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconResource),
                                               IMAGE_ICON, scaled(62, dpi), scaled(62, dpi), 0));
}

AboutWindow::~AboutWindow()
{
    ::DestroyWindow(mWindow);
    ::DestroyIcon(mPicture);
}

void AboutWindow::show()
{
    RECT frame{};
    ::GetWindowRect(mWindow, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(::GetWindow(mWindow, GW_OWNER), MONITOR_DEFAULTTONEAREST),
                      &monitor);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(mWindow, HWND_TOPMOST, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(mWindow);
    ::SetFocus(mOk);
}

LRESULT CALLBACK AboutWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<AboutWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(self));
    }
    auto* self = reinterpret_cast<AboutWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::ShowWindow(window, SW_HIDE); // OKButtonClick: the box only hides
        }
        return 0;
    case WM_CLOSE:
        ::ShowWindow(window, SW_HIDE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        if (self != nullptr) {
            self->paint(dc);
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void AboutWindow::paint(HDC dc)
{
    const UINT dpi = dpiOf(mWindow);
    // The panel: a lowered outer bevel round a raised inner one, in the
    // colour of an active title bar.
    RECT panel{scaled(8, dpi), scaled(8, dpi), scaled(8 + 281, dpi), scaled(8 + 161, dpi)};
    ::FillRect(dc, &panel, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
    ::DrawEdge(dc, &panel, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
    const int left = 8;
    const int top = 8;
    ::DrawIconEx(dc, scaled(left + 9, dpi), scaled(top + 9, dpi), mPicture, scaled(62, dpi),
                 scaled(62, dpi), 0, nullptr, DI_NORMAL);
    ::SetBkMode(dc, TRANSPARENT);
    const COLORREF yellow = RGB(255, 255, 0);
    const COLORREF white = RGB(255, 255, 255);
    drawText(dc, about::kProductName, left + 89, top + 13, 180, 24, 19, true, yellow, dpi);
    drawText(dc, about::kVersion, left + 177, top + 43, 96, 20, 16, false, yellow, dpi);
    int row = top + 79;
    for (const about::Row& each : about::kRows) {
        drawText(dc, each.caption, left + 17, row, 80, 19, 16, false, white, dpi);
        drawText(dc, each.value, left + 101, row, 170, 19, 16, false, white, dpi);
        row += 19;
    }
}

} // namespace vimbrel::win32
