#include "rename/rename_undo.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "platform/user_interface.h"
#include "rename/rename_journal.h"

namespace vimbrel {
namespace {

// Lines of reasons in the closing message before the rest is only counted.
constexpr size_t kReasonLines = 10;

bool holdsSameFile(const std::string& path, const JournalStep& step, bool& found)
{
    const std::optional<fs::FileState> state = fs::stateOf(path);
    found = state.has_value();
    return found && state->device == step.device && state->inode == step.inode;
}

// Takes one step back; "" when done, else why not.
std::string takeBack(const JournalStep& step)
{
    bool found = false;
    if (step.kind == JournalStep::Kind::MadeWritable) {
        const std::string path = step.folder + step.oldName;
        if (!holdsSameFile(path, step, found)) {
            return !found ? "見つかりません" : "別のファイルに置き換わっています";
        }
        return fs::restoreMode(path, step.mode) ? "" : fs::errorText(sys::lastError());
    }
    const std::string from = step.folder + step.newName;
    const std::string to = step.folder + step.oldName;
    if (!holdsSameFile(from, step, found)) {
        return !found ? "「" + step.newName + "」が見つかりません"
                      : "「" + step.newName + "」は別のファイルに置き換わっています";
    }
    if (!fs::nameIsFree(to)) {
        return "元の名前はほかのファイルが使っています";
    }
    if (!fs::renameNoReplace(from, to)) {
        const int error = sys::lastError();
        return error == sys::error::kExists ? "元の名前はほかのファイルが使っています"
                                            : fs::errorText(error);
    }
    return "";
}

} // namespace

UndoResult UndoRename(const std::string& journalPath, UserInterface& ui)
{
    UndoResult result;
    const RenameJournal journal = readRenameJournal(journalPath);
    if (journal.state == RenameJournal::State::Damaged) {
        ui.showMessage(kDamagedJournalMessage);
        return result;
    }
    if (journal.steps.empty()) {
        ui.showMessage(kNothingToUndoMessage);
        return result;
    }
    result.ran = true;
    std::vector<std::string> reasons;
    for (auto step = journal.steps.rbegin(); step != journal.steps.rend(); ++step) {
        const std::string why = takeBack(*step);
        if (why.empty()) {
            result.restored += step->kind == JournalStep::Kind::Renamed ? 1 : 0;
            continue;
        }
        ++result.failed;
        if (reasons.size() < kReasonLines) {
            reasons.push_back(step->folder + step->oldName + ": " + why);
        }
    }
    fs::deleteFile(journalPath);
    std::string message = std::to_string(result.restored) + kUndoneSuffix;
    if (result.failed > 0) {
        message += "\r" + std::to_string(result.failed) + " ファイルは戻せませんでした。";
        for (const std::string& reason : reasons) {
            message += "\r" + reason;
        }
        if (size_t(result.failed) > reasons.size()) {
            message += "\rほか " + std::to_string(size_t(result.failed) - reasons.size()) + " 件";
        }
    }
    ui.showMessage(message);
    return result;
}

} // namespace vimbrel
