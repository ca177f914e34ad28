#include "rename/rename_run.h"

#include <algorithm>

#include "platform/file_system.h"
#include "rename/highest_number.h"
#include "rename/new_name.h"
#include "viewer/show/extensions.h"

namespace vimbrel {
RenameRun::RenameRun(Options& options, UserInterface& ui, std::string journalPath)
    : mOptions(options), mUi(ui), mJournalPath(std::move(journalPath))
{
}

bool RenameRun::BtnExecClick(const std::string& selectedFolder)
{
    mRenameList.clear();
    NormalizeExtensions(mOptions);
    if (!mOptions.ChKRead && !mOptions.ChkFile) {
        mUi.showMessage(kNothingCheckedMessage);
        return false;
    }
    mRenameCount = 0;
    if (!mPlan && !mJournalPath.empty() && !onlyClearsAttributes() && !selectedFolder.empty() &&
        !mJournal.start(mJournalPath)) {
        // The run goes on without a way back; an older journal must not
        // stand in for this run.
        fs::deleteFile(mJournalPath);
    }
    // Without a chosen folder nothing is worked on, never the current folder.
    const int listed = selectedFolder.empty() ? 0 : RenameFiles(selectedFolder);
    mJournal.finish();
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
            RenameFiles(base + subFolder + fs::kSeparator);
        }
    }
    return listed;
}

std::vector<std::string> RenameRun::listFolder(const std::string& folder)
{
    std::vector<std::string> subFolders;
    mFolderNames.clear();
    for (const fs::DirEntry& entry : fs::listFolder(folder)) {
        mFolderNames.insert(entry.name);
        if (entry.directory) {
            // A link to a folder is not descended, so no link can lead the
            // run round in a loop or out of the chosen tree.
            if (!entry.link) {
                subFolders.push_back(entry.name);
            }
            continue;
        }
        if (mOptions.ChkFSel && !IsImageFile(mOptions, entry.name)) {
            skipped(folder, entry.name, SkipReason::NotAPicture);
            continue;
        }
        // A link has no attributes of its own; clearing them would change the
        // file it points to, which may lie anywhere.
        if (mOptions.ChKRead && entry.readOnly && !entry.link) {
            clearReadOnly(folder, entry.name);
        }
        mRenameList.push_back(entry.name);
    }
    return subFolders;
}

void RenameRun::clearReadOnly(const std::string& folder, const std::string& name)
{
    if (mPlan) {
        mRenameCount += onlyClearsAttributes() ? 1 : 0;
        return;
    }
    const std::optional<fs::FileState> before = fs::stateOf(folder + name);
    if (!fs::setArchiveOnly(folder + name)) {
        return;
    }
    if (onlyClearsAttributes()) {
        ++mRenameCount;
    }
    if (before && mJournal.recording()) {
        JournalStep step;
        step.kind = JournalStep::Kind::MadeWritable;
        step.device = before->device;
        step.inode = before->inode;
        step.folder = folder;
        step.oldName = name;
        step.mode = before->mode;
        mJournal.record(step);
    }
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
        // The outcome does not change the count: a file that keeps its name
        // still uses up its number and counts as tried.
        // The prefix is used as typed, so a new name may hold what no file
        // name can (a separator would move the file into another folder);
        // such a name is refused like any name the file system refuses.
        if (fs::isPlainFileName(newName)) {
            renameOne(folder, name, newName);
        } else {
            skipped(folder, name, SkipReason::NameRefused);
        }
        ++mNextNumber;
        ++mRenameCount;
    }
}

bool RenameRun::renameOne(const std::string& folder, const std::string& name,
                          const std::string& newName)
{
    if (mPlan) {
        if (mFolderNames.count(newName) != 0) {
            // The real run's rename would find the name taken; a file that
            // would get its own name again is no skip.
            if (newName != name) {
                skipped(folder, name, SkipReason::NameTaken);
            }
            return false;
        }
        mFolderNames.erase(name);
        mFolderNames.insert(newName);
        mPlan(folder, name, newName);
        return true;
    }
    if (!fs::renameNoReplace(folder + name, folder + newName)) {
        return false;
    }
    const std::optional<fs::FileState> state =
        mJournal.recording() ? fs::stateOf(folder + newName) : std::nullopt;
    if (state) {
        JournalStep step;
        step.device = state->device;
        step.inode = state->inode;
        step.folder = folder;
        step.oldName = name;
        step.newName = newName;
        mJournal.record(step);
    }
    return true;
}

void RenameRun::skipped(const std::string& folder, const std::string& name, SkipReason reason) const
{
    if (mPlan && mSkip) {
        mSkip(folder, name, reason);
    }
}

bool RenameRun::onlyClearsAttributes() const
{
    return !mOptions.ChkFile && mOptions.ChKRead;
}

} // namespace vimbrel
