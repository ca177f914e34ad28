#include "rename/rename_preview.h"

namespace vimbrel {
namespace {

// Keeps the closing message; a preview shows nothing else of the run.
class MessageOnly : public UserInterface
{
public:
    explicit MessageOnly(std::string& message) : mMessage(message) {}
    void showMessage(const std::string& text) override { mMessage = text; }
    void showFileCount(int) override {}
    void openViewer(const ViewerPages&, bool) override {}
    void setRenameTabEnabled(bool) override {}
    bool reportProgress(int, int) override { return true; }

private:
    std::string& mMessage;
};

} // namespace

RenamePreview previewRename(Options options, const std::string& selectedFolder)
{
    RenamePreview preview;
    MessageOnly ui(preview.message);
    RenameRun run(options, ui);
    run.planOnly(
        [&](const std::string& folder, const std::string& oldName, const std::string& newName) {
            preview.renames.push_back({folder, oldName, newName});
        },
        [&](const std::string& folder, const std::string& name, RenameRun::SkipReason reason) {
            preview.skipped.push_back({folder, name, reason});
        });
    run.BtnExecClick(selectedFolder);
    return preview;
}

const char* skipReasonText(RenameRun::SkipReason reason)
{
    switch (reason) {
    case RenameRun::SkipReason::NotAPicture:
        return "画像ファイルでない";
    case RenameRun::SkipReason::NameTaken:
        return "同じ名前のファイルがある";
    case RenameRun::SkipReason::NameRefused:
        return "ファイル名に使えない文字";
    }
    return "";
}

} // namespace vimbrel
