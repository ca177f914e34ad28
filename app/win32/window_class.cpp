#include "app/win32/window_class.h"

namespace vimbrel::win32 {

void registerWindowClass(const wchar_t* name, WNDPROC procedure, int iconResource)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    if (iconResource != 0) {
        windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(iconResource));
        windowClass.hIconSm = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                         ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    }
    ::RegisterClassExW(&windowClass);
}

} // namespace vimbrel::win32
