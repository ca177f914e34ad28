#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/win32/about_window.h"
#include "app/win32/progress_window.h"
#include "app/window_logic/window_desktop.h"

namespace vimbrel {
class ViewerOpener;
}

namespace vimbrel::win32 {

// The Windows desktop as the main window's behaviour uses it: MessageBoxW,
// the system's folder dialog, the shell for the browser and Explorer, the
// version box and the progress window.
class Win32Desktop : public WindowDesktop
{
public:
    // `programFolder` (ending in a separator) holds Img/ and the help file.
    Win32Desktop(HWND window, std::string programFolder);
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;
    bool openViewer(const ViewerPages& pages, bool maximised) override;
    void openFolder(const std::string& folder) override;
    void showAbout() override;
    void showHelp(const std::string& helpFile) override;
    bool showProgress(int done, int total) override;
    void endProgress() override;
    ViewerState viewerState() override;
    void callLater(std::chrono::milliseconds delay, std::function<void()> work) override;

    // A timer of the window has come: the work callLater() set for it runs.
    // False for a timer that is not callLater()'s.
    bool timerCame(UINT_PTR timer);

    // The version box, for the message loop's dialog keys.
    HWND aboutWindow() const { return mAbout.handle(); }

private:
    void box(const std::string& text, UINT icon);

    HWND mWindow;
    std::string mProgramFolder;
    AboutWindow mAbout;
    std::unique_ptr<ProgressWindow> mProgress;
    // Made at the first 表示: it owns the viewer server.
    std::unique_ptr<ViewerOpener> mOpener;
    // The work callLater() waits with, by the window's timer.
    std::map<UINT_PTR, std::function<void()>> mLater;
    UINT_PTR mNextTimer = kFirstLaterTimer;

public:
    // The window's timers from this one on are callLater()'s.
    static constexpr UINT_PTR kFirstLaterTimer = 100;
};

} // namespace vimbrel::win32
