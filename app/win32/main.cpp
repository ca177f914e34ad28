#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "app/win32/main_frame.h"
#include "platform/program.h"

// vimbrel.exe [folder]: the main window; a folder given is chosen in the
// folder tree at start.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The shell's tree, its menus and the folder dialog are COM objects of
    // this thread.
    const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::vector<std::string> arguments = vimbrel::program::arguments(0, nullptr);
    int exitCode = 0;
    {
        vimbrel::win32::MainFrame frame(arguments.empty() ? std::string() : arguments.front());
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!frame.takeDialogKeys(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        exitCode = int(message.wParam);
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return exitCode;
}
