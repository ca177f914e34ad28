#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/user_interface.h"

namespace vimbrel {

// What the main window asks of the desktop it runs on: the modal boxes, the
// folder chooser, the About box, the help, the progress of long work and the
// programs that open the viewer and folders. The window's behaviour reaches
// the desktop only through this, so that tests can answer in place of a
// person.
class WindowDesktop
{
public:
    virtual ~WindowDesktop() = default;

    // A modal message, no icon, one OK button, caption "Vimbrel". CR
    // characters in `text` break its lines.
    virtual void showMessage(const std::string& text) = 0;
    // The general error box: the error's text with the stop icon and the
    // caption "Vimbrel".
    virtual void showError(const std::string& text) = 0;
    // The modal folder chooser. `start` is selected when it names a folder.
    // The chosen folder's path, or nothing when the person cancels.
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& start) = 0;
    // Opens the pages of a Show run in the browser; does not wait. False when
    // the browser could not be asked.
    virtual bool openViewer(const ViewerPages& pages, bool maximised) = 0;
    // Opens `folder` in the desktop's file manager.
    virtual void openFolder(const std::string& folder) = 0;
    // Shows the one About box, or brings it to the front; not modal.
    virtual void showAbout() = 0;
    // Shows the contents of the help file at `helpFile`.
    virtual void showHelp(const std::string& helpFile) = 0;

    // What the window needs to know of the viewer the tool serves.
    struct ViewerState
    {
        // A viewer window it served is still open in the browser.
        bool open = false;
        // The browser asked for the viewer it was handed last (true when
        // none was handed over).
        bool askedFor = true;
        // The page on disk it was handed, which leads on to the viewer.
        std::string page;
    };
    virtual ViewerState viewerState() = 0;

    // Calls `work` once, after `delay`, on the window's thread; not when the
    // window has gone before.
    virtual void callLater(std::chrono::milliseconds delay, std::function<void()> work) = 0;

    // Long work has done `done` of `total` steps: a modal box with 中止
    // shows it while the window stays painted. False when the person has
    // pressed 中止.
    virtual bool showProgress(int done, int total) = 0;
    // The work has ended: its progress box goes.
    virtual void endProgress() = 0;
};

class ViewerOpener;

// What `opener` knows of the viewer it serves; no viewer at all while none
// was opened (`opener` null).
WindowDesktop::ViewerState viewerStateOf(const ViewerOpener* opener);

// The caption of every box of the tool.
inline constexpr const char* kBoxCaption = "Vimbrel";
// Said when the browser could not be asked to show the viewer; the path of
// its first page follows.
inline constexpr const char* kViewerFailedMessage = "ビューアを開けませんでした。";
// Said in the status bar when the browser handed the viewer has not asked
// for it in ViewerOpener::kBrowserPatience; the path of the page handed to it
// follows, for the person to open by hand.
inline constexpr const char* kBrowserAbsentNote =
    "ブラウザがビューアを開きませんでした。次のファイルをブラウザで開いてください: ";
// The progress box's text; the count of done pictures follows it.
inline constexpr const char* kProgressText = "小画像を作成しています";
// The title of the folder chooser of 指定.
inline constexpr const char* kSmallFolderTitle = "小画像作成先フォルダを指定してください";

} // namespace vimbrel
