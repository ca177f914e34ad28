#include "rename/rename_run.h"

#include <algorithm>

#include "platform/file_system.h"
#include "rename/highest_number.h"
#include "rename/new_name.h"
#include "viewer/show/extensions.h"

namespace vimbrel {
namespace {

// The prefix is used as typed, so a new name may hold what no file name can:
// a "/" would move the file into another folder and a NUL byte would cut the
// path short. Such a name is refused like any name the file system refuses.
bool isPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

} // namespace

RenameRun::RenameRun(Options& options, UserInterface& ui) : mOptions(options), mUi(ui) {}

bool RenameRun::BtnExecClick(const std::string& selectedFolder)
{
    mRenameList.clear();
    NormalizeExtensions(mOptions);
    if (!mOptions.ChKRead && !mOptions.ChkFile) {
        mUi.showMessage(kNothingCheckedMessage);
        return false;
    }
    mRenameCount = 0;
    // Without a chosen folder nothing is worked on, never the current folder.
    const int listed = selectedFolder.empty() ? 0 : RenameFiles(selectedFolder);
    if (!mOptions.ChkAutoNum && !onlyClearsAttributes()) {
        const int64_t next = static_cast<int64_t>(mOptions.SpinFCnt) + listed;
        mOptions.SpinFCnt = static_cast<int>(std::clamp<int64_t>(next, kSpinFCntMin, kSpinFCntMax));
    }
    mUi.setRenameTabEnabled(true);
    if (mRenameCount == 0) {
        mUi.showMessage(kNoFilesMessage);
    } else {
        mUi.showMessage(std::to_string(mRenameCount) + kFilesUpdatedSuffix);
    }
    return true;
}

int RenameRun::RenameFiles(const std::string& folder)
{
    const std::string base = fs::withSeparator(folder);
    mRenameList.clear();
    const std::vector<std::string> subFolders = listFolder(base);
    mCollator.sort(mRenameList);
    mUi.setRenameTabEnabled(false);
    if (!onlyClearsAttributes()) {
        renameListed(base);
    }
    const int listed = static_cast<int>(mRenameList.size());
    if (mOptions.ChkDirs) {
        for (const std::string& subFolder : subFolders) {
            RenameFiles(base + subFolder + "/");
        }
    }
    return listed;
}

std::vector<std::string> RenameRun::listFolder(const std::string& folder)
{
    std::vector<std::string> subFolders;
    for (const fs::DirEntry& entry : fs::listFolder(folder)) {
        if (entry.directory) {
            // A link to a folder is not descended, so no link can lead the
            // run round in a loop or out of the chosen tree.
            if (!entry.link) {
                subFolders.push_back(entry.name);
            }
            continue;
        }
        if (mOptions.ChkFSel && !IsImageFile(mOptions, entry.name)) {
            continue;
        }
        // A link has no attributes of its own; clearing them would change the
        // file it points to, which may lie anywhere.
        if (mOptions.ChKRead && entry.readOnly && !entry.link) {
            if (fs::setArchiveOnly(folder + entry.name) && onlyClearsAttributes()) {
                ++mRenameCount;
            }
        }
        mRenameList.push_back(entry.name);
    }
    return subFolders;
}

void RenameRun::renameListed(const std::string& folder)
{
    if (mOptions.ChkAutoNum) {
        mNextNumber = static_cast<int64_t>(FindHighestNumber(mOptions, mRenameList)) + 1;
    } else {
        mNextNumber = std::clamp(mOptions.SpinFCnt, kSpinFCntMin, kSpinFCntMax);
    }
    for (const std::string& name : mRenameList) {
        const std::string newName = MakeNewName(mOptions, name, std::to_string(mNextNumber));
        // The outcome is not checked: a file that keeps its name still uses
        // up its number and counts as tried.
        if (isPlainFileName(newName)) {
            fs::renameNoReplace(folder + name, folder + newName);
        }
        ++mNextNumber;
        ++mRenameCount;
    }
}

bool RenameRun::onlyClearsAttributes() const
{
    return !mOptions.ChkFile && mOptions.ChKRead;
}

} // namespace vimbrel
