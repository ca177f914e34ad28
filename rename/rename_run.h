#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/collation.h"
#include "platform/user_interface.h"
#include "rename/rename_journal.h"
#include "settings/options.h"

namespace vimbrel {

// The rename command of the その他 tab (実行): gives every file of the chosen
// folder, and of the folders below it when ChkDirs is checked, the prefix, a
// running number and its old extension, and clears read-only attributes where
// ChKRead asks. A rename never replaces an existing file; a file that cannot
// be renamed keeps its name and content.
//
// With ChkFile unchecked and ChKRead checked the run only clears read-only
// attributes and renames nothing; its closing message counts the files it
// made writable, and the start number stays.
class RenameRun
{
public:
    // Receives each rename a dry run would make, in the order it would.
    using Plan = std::function<void(const std::string& folder, const std::string& oldName,
                                    const std::string& newName)>;
    // Why a dry run leaves a file of the folder as it is.
    enum class SkipReason
    {
        NotAPicture, // 画像ファイルを絞る leaves it out
        NameTaken,   // another file already has its new name
        NameRefused, // its new name is no file name (the prefix holds a "/")
    };
    using Skip =
        std::function<void(const std::string& folder, const std::string& name, SkipReason reason)>;

    // The run reads `options` at the moment of use and advances SpinFCnt;
    // messages and the rename tab's state go to `ui`. A run that renames
    // keeps a journal of its steps at `journalPath` (none when empty), which
    // replaces the journal of the run before and lets 元に戻す take it back.
    RenameRun(Options& options, UserInterface& ui, std::string journalPath = {});

    // Makes this a dry run: it touches nothing (no rename, no read-only
    // clearing, no journal), hands each rename it would make to `plan`, and
    // ends with the message and start number the real run would.
    // `skip`, when given, hears of each file the run would leave alone.
    void planOnly(Plan plan, Skip skip = {})
    {
        mPlan = std::move(plan);
        mSkip = std::move(skip);
    }

    // The command behind 実行 on `selectedFolder` (ending in "/", or "" while
    // no folder is chosen, which touches nothing). Ends with one message.
    // Returns false when it stopped at the guard because neither ChkFile nor
    // ChKRead is checked, true when it ran.
    bool BtnExecClick(const std::string& selectedFolder);

    // Works through one folder (a full path ending in "/") and, when ChkDirs
    // is checked, every folder below it; each folder numbers on its own.
    // Returns the number of files of `folder` itself that it tried to rename.
    int RenameFiles(const std::string& folder);

private:
    // Lists the files of `folder` into mRenameList, clearing read-only
    // attributes on the way, and returns the names of its sub-folders.
    std::vector<std::string> listFolder(const std::string& folder);
    void renameListed(const std::string& folder);
    // Renames one file, or plans it in a dry run; true when it was (or would
    // be) renamed.
    bool renameOne(const std::string& folder, const std::string& name, const std::string& newName);
    void clearReadOnly(const std::string& folder, const std::string& name);
    bool onlyClearsAttributes() const;
    void skipped(const std::string& folder, const std::string& name, SkipReason reason) const;

    Options& mOptions;
    UserInterface& mUi;
    Collator mCollator;
    std::string mJournalPath;
    RenameJournalWriter mJournal;
    Plan mPlan;
    Skip mSkip;
    std::vector<std::string> mRenameList;
    // Every name of the folder being worked on, kept up to date by a dry run
    // so that it refuses the names a real run would find taken.
    std::set<std::string> mFolderNames;
    // Wider than the numbers the rule reads, so that counting on past the
    // highest 32-bit number in use cannot overflow.
    int64_t mNextNumber = 0;
    // Renames tried over the whole run (files made writable when only
    // attributes are cleared), for the closing message.
    int mRenameCount = 0;
};

// The messages the run ends with.
inline constexpr const char* kNothingCheckedMessage = "チェックがありません";
inline constexpr const char* kNoFilesMessage = "ファイルがありません。";
inline constexpr const char* kFilesUpdatedSuffix = " ファイルを更新しました。";

} // namespace vimbrel
