#include "tests/app/win32/window_driver.h"

#include "platform/win32/wide_text.h"

namespace vimbrel::testing {

using win32::narrow;
using win32::widen;

bool waitFor(const std::function<bool()>& done, int seconds)
{
    const ULONGLONG deadline = ::GetTickCount64() + ULONGLONG(seconds) * 1000;
    while (!done()) {
        if (::GetTickCount64() > deadline) {
            return false;
        }
        ::Sleep(20);
    }
    return true;
}

WindowDriver::WindowDriver(const std::string& program, const std::string& arguments,
                           const std::string& folder)
{
    std::wstring commandLine = L"\"" + widen(program) + L"\" " + widen(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          widen(folder).c_str(), &startup, &mProcess)) {
        mProcess = {};
    }
}

WindowDriver::~WindowDriver()
{
    if (mProcess.hProcess != nullptr) {
        if (::WaitForSingleObject(mProcess.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(mProcess.hProcess, 1);
            ::WaitForSingleObject(mProcess.hProcess, 10000);
        }
        ::CloseHandle(mProcess.hThread);
        ::CloseHandle(mProcess.hProcess);
    }
}

namespace {

struct WindowSearch
{
    DWORD process;
    const wchar_t* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM search)
{
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    if (process == wanted.process && ::IsWindowVisible(window) &&
        std::wstring(name) == wanted.windowClass) {
        wanted.found.push_back(window);
    }
    return TRUE;
}

struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK findChild(HWND window, LPARAM search)
{
    auto& wanted = *reinterpret_cast<ChildSearch*>(search);
    if (::GetDlgCtrlID(window) == wanted.id) {
        wanted.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WindowDriver::mainWindow(const wchar_t* windowClass)
{
    if (mWindow == nullptr && started()) {
        waitFor([&] {
            WindowSearch search{mProcess.dwProcessId, windowClass, {}};
            ::EnumWindows(collectWindow, LPARAM(&search));
            mWindow = search.found.empty() ? nullptr : search.found.front();
            return mWindow != nullptr;
        });
    }
    return mWindow;
}

HWND WindowDriver::control(int id) const
{
    ChildSearch search{id, nullptr};
    ::EnumChildWindows(mWindow, findChild, LPARAM(&search));
    return search.found;
}

std::string WindowDriver::text(HWND window) const
{
    wchar_t buffer[1024]{};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, LPARAM(buffer), SMTO_ABORTIFHUNG, 10000,
                          &length);
    return narrow(std::wstring(buffer, size_t(length)));
}

void WindowDriver::setText(HWND window, const std::string& text) const
{
    const std::wstring wide = widen(text);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_SETTEXT, 0, LPARAM(wide.c_str()), SMTO_ABORTIFHUNG, 10000,
                          &ignored);
}

void WindowDriver::click(int id) const
{
    HWND button = control(id);
    // Posted, as a click is: the handler may hold a modal box open.
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
}

std::vector<std::string> WindowDriver::answerMessageBoxes() const
{
    WindowSearch search{mProcess.dwProcessId, L"#32770", {}};
    ::EnumWindows(collectWindow, LPARAM(&search));
    std::vector<std::string> texts;
    for (HWND box : search.found) {
        // A message box's text is its static control 0xFFFF.
        texts.push_back(text(::GetDlgItem(box, 0xFFFF)));
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return texts;
}

bool WindowDriver::close()
{
    askToClose();
    return ended(60);
}

void WindowDriver::askToClose() const
{
    ::PostMessageW(mWindow, WM_CLOSE, 0, 0);
}

bool WindowDriver::ended(int seconds) const
{
    return ::WaitForSingleObject(mProcess.hProcess, DWORD(seconds) * 1000) == WAIT_OBJECT_0;
}

DWORD WindowDriver::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(mProcess.hProcess, &code);
    return code;
}

} // namespace vimbrel::testing
