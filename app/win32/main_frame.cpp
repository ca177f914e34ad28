#include "app/win32/main_frame.h"

#include <commctrl.h>

#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/shell_tree.h"
#include "app/win32/win32_controls.h"
#include "app/win32/win32_desktop.h"
#include "app/win32/window_class.h"
#include "app/window_logic/main_window_logic.h"
#include "platform/program.h"

namespace vimbrel::win32 {
namespace {

constexpr const wchar_t* kClass = kMainWindowClass;

// The timer that looks whether the viewer windows have gone while the main
// window is closed.
constexpr UINT_PTR kLookTimer = 1;

bool isSmallFolderChoice(int id)
{
    return id >= idOf(Control::RdoFNon) && id <= idOf(Control::RdoFETC);
}

bool isNameControl(int id)
{
    return id == idOf(Control::EditFHead) || id == idOf(Control::SpinFCnt) ||
           id == idOf(Control::SpinKeta);
}

} // namespace

MainFrame::MainFrame(std::string startFolder) : mStartFolder(std::move(startFolder))
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerWindowClass(kClass, proc, kProgramIconResource);
    // 400 by 350 until the settings give the stored place.
    ::CreateWindowExW(WS_EX_CONTROLPARENT, kClass, L"Vimbrel",
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 400, 350,
                      nullptr, nullptr, instance, this);
    if (mForm.window != nullptr) {
        ::ShowWindow(mForm.window, SW_SHOW);
        ::UpdateWindow(mForm.window);
    }
}

MainFrame::~MainFrame()
{
    if (mForm.window != nullptr) {
        ::DestroyWindow(mForm.window);
    }
}

bool MainFrame::takeDialogKeys(MSG& message)
{
    if (mDesktop != nullptr && mDesktop->aboutWindow() != nullptr &&
        ::IsDialogMessageW(mDesktop->aboutWindow(), &message)) {
        return true;
    }
    return mForm.window != nullptr && ::IsDialogMessageW(mForm.window, &message);
}

LRESULT CALLBACK MainFrame::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* frame =
            static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(frame));
        frame->mForm.window = window;
    }
    auto* frame = reinterpret_cast<MainFrame*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (frame == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return frame->handleMessage(message, wParam, lParam);
}

LRESULT MainFrame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = mForm.window;
    switch (message) {
    case WM_CREATE:
        create(window);
        return 0;
    case WM_SIZE:
        if (mTree != nullptr) {
            layoutForm(mForm, mDpi);
        }
        return 0;
    case WM_DPICHANGED: {
        // The window moves to a monitor of another dpi: the fonts and places
        // follow, and the window takes the size the system suggests.
        mDpi = HIWORD(wParam);
        applyFonts(mForm, mDpi);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        layoutForm(mForm, mDpi);
        return 0;
    }
    case WM_COMMAND:
        if (lParam != 0) {
            command(LOWORD(wParam), HIWORD(wParam));
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (notify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
            return result;
        }
        break;
    }
    case WM_CLOSE:
        closing();
        return 0;
    case WM_TIMER:
        if (wParam == kLookTimer) {
            lookAtViewer();
        } else if (mDesktop != nullptr) {
            mDesktop->timerCame(wParam);
        }
        return 0;
    case WM_COPYDATA:
        return showAgain(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The person logs off or the system shuts down: the program ends now,
        // saving and cleaning up as at any end.
        if (wParam != FALSE) {
            ::DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        destroy();
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        mForm.window = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainFrame::create(HWND window)
{
    mDpi = dpiOf(window);
    buildForm(mForm, window);
    mTree = std::make_unique<ShellTree>(mForm.tree);
    mControls = std::make_unique<Win32Controls>(mForm, *mTree);
    const std::string programFolder = program::folder(nullptr);
    mDesktop = std::make_unique<Win32Desktop>(window, programFolder);
    mLogic = std::make_unique<MainWindowLogic>(*mControls, *mDesktop, "", programFolder);
    mTree->selectionChanged = [this] { mLogic->TreeDriveChange(); };
    mTree->folderRenamed = [this](const std::string& oldPath, const std::string& newPath) {
        mLogic->FolderRenamed(oldPath, newPath);
    };
    mTree->renameRefused = [this](const std::string& message) { mLogic->RenameRefused(message); };
    applyFonts(mForm, mDpi);
    layoutForm(mForm, mDpi);
    mLogic->FormCreate();
    if (!mStartFolder.empty()) {
        mLogic->StartWithFolder(mStartFolder);
    }
}

void MainFrame::command(int id, int code)
{
    MainWindowLogic& logic = *mLogic;
    if (code == BN_CLICKED) {
        if (id == kBtnShowId) {
            logic.BtnShowClick();
        } else if (id == kBtnVerId) {
            logic.BtnVerClick();
        } else if (id == kBtnHelpId) {
            logic.BtnHelpClick();
        } else if (isSmallFolderChoice(id)) {
            logic.RdoFETCClick();
        } else if (id == idOf(Control::BtnFdr)) {
            logic.BtnFdrClick();
        } else if (id == idOf(Control::ChkZero)) {
            logic.EditFHeadChange();
        } else if (id == idOf(Control::BtnExec)) {
            logic.BtnExecClick();
        } else if (id == idOf(Control::BtnUndo)) {
            logic.BtnUndoClick();
        }
    } else if (code == EN_CHANGE && isNameControl(id)) {
        logic.EditFHeadChange();
    }
}

bool MainFrame::notify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom == mForm.tabs && header.code == TCN_SELCHANGE) {
        const LRESULT selected = ::SendMessageW(mForm.tabs, TCM_GETCURSEL, 0, 0);
        showOnlyPage(mForm, TabPage(selected));
        return true;
    }
    if (header.hwndFrom == mForm.tree && mTree != nullptr) {
        return mTree->onNotify(header, result);
    }
    return false;
}

void MainFrame::closing()
{
    if (mLogic == nullptr) {
        ::DestroyWindow(mForm.window);
        return;
    }
    mLogic->FormClose();
    if (!mLogic->ViewerStillOpen()) {
        ::DestroyWindow(mForm.window);
        return;
    }
    // A viewer window is still open in the browser: the program goes on
    // serving it, the window hidden, looking each second whether it went.
    ::ShowWindow(mForm.window, SW_HIDE);
    ::SetTimer(mForm.window, kLookTimer, 1000, nullptr);
}

void MainFrame::lookAtViewer()
{
    if (mLogic == nullptr || !mLogic->ViewerStillOpen()) {
        ::KillTimer(mForm.window, kLookTimer);
        ::DestroyWindow(mForm.window);
    }
}

bool MainFrame::showAgain(const COPYDATASTRUCT& data)
{
    if (data.dwData != kShowAgainMessage || mLogic == nullptr) {
        return false;
    }
    ::KillTimer(mForm.window, kLookTimer);
    ::ShowWindow(mForm.window, ::IsIconic(mForm.window) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(mForm.window);
    if (data.cbData > 0 && data.lpData != nullptr) {
        mLogic->StartWithFolder(
            std::string(static_cast<const char*>(data.lpData), size_t(data.cbData)));
    }
    return true;
}

void MainFrame::destroy()
{
    if (mLogic != nullptr) {
        // The settings are saved while the controls still hold their values.
        mLogic->FormDestroy();
    }
    mLogic.reset();
    mDesktop.reset();
    mControls.reset();
    mTree.reset();
    releaseForm(mForm);
}

} // namespace vimbrel::win32
