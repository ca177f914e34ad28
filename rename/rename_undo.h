#pragma once

#include <string>

namespace vimbrel {

class UserInterface;

// The messages of 元に戻す.
inline constexpr const char* kNothingToUndoMessage = "元に戻す記録がありません。";
inline constexpr const char* kDamagedJournalMessage =
    "元に戻す記録が壊れているため、何も変更しませんでした。";
inline constexpr const char* kUndoneSuffix = " ファイルを元に戻しました。";

// What an undo did.
struct UndoResult
{
    bool ran = false; // false when the journal was missing, empty or damaged
    int restored = 0; // files renamed back
    int failed = 0;   // steps that could not be taken back
};

// 元に戻す: takes back the rename run recorded in the journal at
// `journalPath`, newest step first. A file is renamed back only where its new
// name still holds the very same file (device and inode) and its old name is
// free, with the same never-replacing rename as the run; a file the run made
// writable gets its old permission bits back where its name still holds it.
// The journal is removed afterwards. Ends with one message on `ui`: how many
// files went back and, for those that did not, one line each with the reason
// (ten at most, then how many more). A missing, empty or damaged journal
// changes nothing and says so.
UndoResult UndoRename(const std::string& journalPath, UserInterface& ui);

} // namespace vimbrel
