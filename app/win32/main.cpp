#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "app/win32/main_frame.h"
#include "platform/program.h"

namespace {

// How long a later start tries to reach the first program's window, which
// may be starting up itself.
constexpr DWORD kHandOverMilliseconds = 5000;

// A later start: hands `folder` to the first program's window, which shows
// itself with that folder chosen. True when it took it.
bool handOver(const std::string& folder)
{
    // The first may bring its window to the front, as this start, begun by
    // the person, could.
    ::AllowSetForegroundWindow(ASFW_ANY);
    const DWORD start = ::GetTickCount();
    do {
        if (HWND first = ::FindWindowW(vimbrel::win32::kMainWindowClass, nullptr)) {
            COPYDATASTRUCT data{vimbrel::win32::kShowAgainMessage, DWORD(folder.size()),
                                const_cast<char*>(folder.data())};
            DWORD_PTR taken = FALSE;
            if (::SendMessageTimeoutW(first, WM_COPYDATA, 0, LPARAM(&data), SMTO_ABORTIFHUNG,
                                      kHandOverMilliseconds, &taken) != 0 &&
                taken != FALSE) {
                return true;
            }
        }
        ::Sleep(50);
    } while (::GetTickCount() - start < kHandOverMilliseconds);
    return false;
}

} // namespace

// vimbrel.exe [folder]: the main window; a folder given is chosen in the
// folder tree at start. One program for each person's session: a later start
// hands its folder to the first and ends.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::vector<std::string> arguments = vimbrel::program::arguments(0, nullptr);
    const std::string folder = arguments.empty() ? std::string() : arguments.front();
    HANDLE instance = ::CreateMutexW(nullptr, FALSE, L"Local\\Vimbrel.Instance");
    if (instance != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(instance);
        return handOver(folder) ? 0 : 1;
    }
    // The shell's tree, its menus and the folder dialog are COM objects of
    // this thread.
    const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    int exitCode = 0;
    {
        vimbrel::win32::MainFrame frame(folder);
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
    if (instance != nullptr) {
        ::CloseHandle(instance);
    }
    return exitCode;
}
