#include "viewer/show/show_command.h"

#include <algorithm>

#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/user_interface.h"
#include "viewer/pages/intervals.h"
#include "viewer/pages/viewer_pages.h"
#include "viewer/show/extensions.h"
#include "viewer/show/folder_url.h"
#include "viewer/show/show_messages.h"
#include "viewer/show/small_target.h"
#include "viewer/small_images/small_image_run.h"

namespace vimbrel {
namespace {

// Every file of the folder, hidden and read-only ones included, in the order
// the file system gives them; folders are skipped, and with ChkFSel so is every
// name that is not a picture.
std::vector<std::string> listPictures(const Options& options, const std::string& folder)
{
    std::vector<std::string> names;
    for (const fs::DirEntry& entry : fs::listFolder(folder)) {
        if (entry.directory) {
            continue;
        }
        if (options.ChkFSel && !IsImageFile(options, entry.name)) {
            continue;
        }
        names.push_back(entry.name);
    }
    return names;
}

// Says which pictures got no small image because drawing them took far
// more work than a picture may: a few names, and how many more.
std::string tooMuchWorkNote(const std::vector<std::string>& names)
{
    constexpr size_t kNamesShown = 5;
    std::string note = "描画に時間がかかりすぎるため小画像を作らなかったファイル: ";
    for (size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
        note += (i > 0 ? ", " : "") + names[i];
    }
    if (names.size() > kNamesShown) {
        note += " ほか " + std::to_string(names.size() - kNamesShown) + " 件";
    }
    return note;
}

} // namespace

void BtnShowClick(Options& options, const std::string& SelectedFolder, const std::string& AppFolder,
                  ShowState& state, UserInterface& ui)
{
    NormalizeExtensions(options);
    if (SelectedFolder.empty()) {
        ui.showMessage(show_messages::kNoFolder);
        return;
    }
    const std::string folder = fs::withSeparator(SelectedFolder);
    if (!fs::isDirectory(folder)) {
        ui.showMessage(show_messages::folderMissing(folder));
        return;
    }
    const std::string WorkFolder = fs::withSeparator(AppFolder) + "Work" + fs::kSeparator;
    if (!fs::isDirectory(WorkFolder) && !fs::createFolders(WorkFolder)) {
        ui.showMessage(show_messages::kNoWorkArea);
        return;
    }
    BuildViewer(options, folder, WorkFolder, state, ui);
}

bool BuildViewer(const Options& options, const std::string& SelectedFolder,
                 const std::string& WorkFolder, ShowState& state, UserInterface& ui)
{
    state.ImageNames.clear();
    state.SmallNames.clear();
    const int64_t Interval1 = IntervalMilliseconds(options.EditTime1);
    const int64_t Interval2 = IntervalMilliseconds(options.EditTime2);
    const int64_t Interval3 = IntervalMilliseconds(options.EditTime3);
    const std::string PicturePath = FolderUrl(WorkFolder, SelectedFolder);
    const std::string ButtonPath = "../Img/";

    state.ImageNames = listPictures(options, SelectedFolder);
    ui.showFileCount(static_cast<int>(state.ImageNames.size()));
    if (state.ImageNames.empty()) {
        ui.showMessage(show_messages::kNoFiles);
        return false;
    }
    Collator().sort(state.ImageNames);
    if (options.RdoDesc) {
        std::reverse(state.ImageNames.begin(), state.ImageNames.end());
    }

    const SmallTargetChoice small = ChooseSmallTarget(options, SelectedFolder, WorkFolder);
    if (!small.message.empty()) {
        ui.showMessage(small.message);
        return false;
    }
    std::string SmallPath;
    if (!small.SmallTarget.empty()) {
        const SmallImageJob job{SelectedFolder, small.SmallTarget, options.ChkFSub};
        SmallImageResult made = MakeSmallImages(state.ImageNames, job, ui);
        state.SmallNames = std::move(made.SmallNames);
        if (made.cancelled) {
            return false;
        }
        if (!made.tooMuchWork.empty()) {
            ui.showNote(tooMuchWorkNote(made.tooMuchWork));
        }
        SmallPath = options.RdoFWork ? "./" : FolderUrl(WorkFolder, small.SmallTarget);
    }

    const PageValues values{options,    state.ImageNames, state.SmallNames, PicturePath, SmallPath,
                            ButtonPath, Interval1,        Interval2,        Interval3};
    writeViewerPages(WorkFolder, values);
    ui.openViewer({WorkFolder + "index.htm", WorkFolder, SelectedFolder, small.SmallTarget},
                  !options.RdoNormal);
    return true;
}

} // namespace vimbrel
