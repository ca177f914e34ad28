#include "viewer/show/small_target.h"

#include "platform/file_system.h"
#include "viewer/show/show_messages.h"

namespace vimbrel {
namespace {

bool isPictureFolder(const std::string& folder, const std::string& SelectedFolder)
{
    return folder == SelectedFolder || fs::sameFolder(folder, SelectedFolder);
}

SmallTargetChoice stop(std::string message)
{
    return {"", std::move(message)};
}

} // namespace

SmallTargetChoice ChooseSmallTarget(const Options& options, const std::string& SelectedFolder,
                                    const std::string& WorkFolder)
{
    if (options.RdoFNon) {
        return {};
    }
    // A group with no button checked falls through to the chosen folder, so it
    // gets that folder's checks as well.
    const std::string SmallFolder = fs::withSeparator(options.SmallFolder);
    if (options.RdoFETC || (!options.RdoFDwon && !options.RdoFWork)) {
        if (isPictureFolder(SmallFolder, SelectedFolder)) {
            return stop(show_messages::smallFolderIsPictureFolder(SelectedFolder));
        }
        if (SmallFolder.empty()) {
            return stop(show_messages::smallFolderNotChosen(SelectedFolder));
        }
    }
    if (options.RdoFDwon) {
        const std::string target = SelectedFolder + "img_s" + fs::kSeparator;
        if (!fs::isDirectory(target) && !fs::createFolders(target)) {
            return stop(show_messages::kNoWorkArea);
        }
        return {target, ""};
    }
    if (options.RdoFWork) {
        if (isPictureFolder(WorkFolder, SelectedFolder)) {
            return stop(show_messages::smallFolderIsPictureFolder(SelectedFolder));
        }
        return {WorkFolder, ""};
    }
    return {SmallFolder, ""};
}

} // namespace vimbrel
