#include "rename/rename_run.h"

#include <sys/stat.h>

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
            RenameFiles(base + subFolder + "/");
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
    struct stat before = {};
    const bool known = ::lstat((folder + name).c_str(), &before) == 0;
    if (!fs::setArchiveOnly(folder + name)) {
        return;
    }
    if (onlyClearsAttributes()) {
        ++mRenameCount;
    }
    if (known && mJournal.recording()) {
        JournalStep step;
        step.kind = JournalStep::Kind::MadeWritable;
        step.device = uint64_t(before.st_dev);
        step.inode = uint64_t(before.st_ino);
        step.folder = folder;
        step.oldName = name;
        step.mode = uint32_t(before.st_mode & 07777);
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
        if (isPlainFileName(newName)) {
            renameOne(folder, name, newName);
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
            return false; // the real run's rename would find the name taken
        }
        mFolderNames.erase(name);
        mFolderNames.insert(newName);
        mPlan(folder, name, newName);
        return true;
    }
    if (!fs::renameNoReplace(folder + name, folder + newName)) {
        return false;
    }
    struct stat info = {};
    if (mJournal.recording() && ::lstat((folder + newName).c_str(), &info) == 0) {
        JournalStep step;
        step.device = uint64_t(info.st_dev);
        step.inode = uint64_t(info.st_ino);
        step.folder = folder;
        step.oldName = name;
        step.newName = newName;
        mJournal.record(step);
    }
    return true;
}

bool RenameRun::onlyClearsAttributes() const
{
    return !mOptions.ChkFile && mOptions.ChKRead;
}

} // namespace vimbrel
