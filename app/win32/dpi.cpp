#include "app/win32/dpi.h"

namespace vimbrel::win32 {

UINT dpiOf(HWND window)
{
    // GetDpiForWindow came with Windows 10 1607; older systems give the
    // screen's one dpi.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = dpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 96;
}

int scaled(int pixels, UINT dpi)
{
    return ::MulDiv(pixels, int(dpi), 96);
}

int unscaled(int pixels, UINT dpi)
{
    return ::MulDiv(pixels, USER_DEFAULT_SCREEN_DPI, int(dpi));
}

HFONT makeWindowFont(int pixels, UINT dpi, bool fixedPitch, bool bold)
{
    return ::CreateFontW(-scaled(pixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                         FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         CLEARTYPE_QUALITY, (fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | FF_MODERN,
                         fixedPitch ? L"ＭＳ ゴシック" : L"ＭＳ Ｐゴシック");
}

} // namespace vimbrel::win32
