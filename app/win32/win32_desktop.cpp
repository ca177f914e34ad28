#include "app/win32/win32_desktop.h"

#include <shellapi.h>
#include <shobjidl.h>

#include "app/window_logic/help_file.h"
#include "platform/file_system.h"
#include "platform/win32/com_pointer.h"
#include "platform/win32/wide_text.h"
#include "viewer/server/viewer_opener.h"

namespace vimbrel::win32 {

namespace {

// Message boxes break lines at CR LF; the tool's texts use CR alone.
std::wstring boxText(const std::string& text)
{
    std::wstring wide;
    for (const wchar_t c : widen(text)) {
        wide += c;
        if (c == L'\r') {
            wide += L'\n';
        }
    }
    return wide;
}

} // namespace

Win32Desktop::Win32Desktop(HWND window, std::string programFolder)
    : mWindow(window), mProgramFolder(std::move(programFolder)), mAbout(window)
{
}

Win32Desktop::~Win32Desktop() = default;

void Win32Desktop::box(const std::string& text, UINT icon)
{
    ::MessageBoxW(mWindow, boxText(text).c_str(), widen(kBoxCaption).c_str(), MB_OK | icon);
}

void Win32Desktop::showMessage(const std::string& text)
{
    box(text, 0);
}

void Win32Desktop::showError(const std::string& text)
{
    box(text, MB_ICONSTOP);
}

std::optional<std::string> Win32Desktop::chooseFolder(const std::string& title,
                                                      const std::string& start)
{
    Com<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFileOpenDialog, dialog.putVoid()))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS flags = 0;
    dialog->GetOptions(&flags);
    dialog->SetOptions(flags | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(widen(title).c_str());
    if (!start.empty()) {
        Com<IShellItem> startItem;
        if (SUCCEEDED(::SHCreateItemFromParsingName(shellPath(start).c_str(), nullptr,
                                                    IID_IShellItem, startItem.putVoid()))) {
            dialog->SetFolder(startItem.p);
        }
    }
    if (FAILED(dialog->Show(mWindow))) {
        return std::nullopt; // cancelled
    }
    Com<IShellItem> chosen;
    if (FAILED(dialog->GetResult(chosen.put()))) {
        return std::nullopt;
    }
    PWSTR path = nullptr;
    if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return std::nullopt;
    }
    std::string result = narrow(path);
    ::CoTaskMemFree(path);
    return result;
}

bool Win32Desktop::openViewer(const ViewerPages& pages, bool maximised)
{
    if (mOpener == nullptr) {
        mOpener = std::make_unique<ViewerOpener>(fs::withSeparator(mProgramFolder));
    }
    return mOpener->open(pages, maximised).opened;
}

WindowDesktop::ViewerState Win32Desktop::viewerState()
{
    return viewerStateOf(mOpener.get());
}

void Win32Desktop::callLater(std::chrono::milliseconds delay, std::function<void()> work)
{
    const UINT_PTR timer = mNextTimer++;
    mLater[timer] = std::move(work);
    ::SetTimer(mWindow, timer, UINT(delay.count()), nullptr);
}

bool Win32Desktop::timerCame(UINT_PTR timer)
{
    const auto found = mLater.find(timer);
    if (found == mLater.end()) {
        return false;
    }
    ::KillTimer(mWindow, timer);
    const std::function<void()> work = std::move(found->second);
    mLater.erase(found);
    work();
    return true;
}

void Win32Desktop::openFolder(const std::string& folder)
{
    ::ShellExecuteW(mWindow, L"explore", shellPath(folder).c_str(), nullptr, nullptr, SW_SHOW);
}

void Win32Desktop::showAbout()
{
    mAbout.show();
}

void Win32Desktop::showHelp(const std::string& helpFile)
{
    // The help is a page of its own: the person's browser shows it.
    if (!fs::isFile(helpFile)) {
        showMessage(kHelpMissingMessage);
        return;
    }
    ::ShellExecuteW(mWindow, L"open", shellPath(helpFile).c_str(), nullptr, nullptr, SW_SHOW);
}

bool Win32Desktop::showProgress(int done, int total)
{
    if (mProgress == nullptr) {
        mProgress = std::make_unique<ProgressWindow>(mWindow);
    }
    return mProgress->report(done, total);
}

void Win32Desktop::endProgress()
{
    mProgress.reset();
}

} // namespace vimbrel::win32
