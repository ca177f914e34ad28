#include "app/window_logic/main_window_logic.h"

#include <algorithm>
#include <exception>

#include "app/window_logic/help_file.h"
#include "app/window_logic/window_desktop.h"
#include "platform/byte_text.h"
#include "platform/file_system.h"
#include "platform/whole_number.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"
#include "rename/rename_undo.h"
#include "rename/sample_text.h"
#include "settings/settings_file.h"
#include "viewer/show/extensions.h"
#include "viewer/show/show_command.h"
#include "viewer/show/work_folder_cleanup.h"

namespace vimbrel {
namespace {

// Moves `path` along when it lies in or below the renamed folder `from`.
bool followRename(std::string& path, const std::string& from, const std::string& to)
{
    const std::string oldFolder = fs::withSeparator(from);
    if (path.rfind(oldFolder, 0) != 0) {
        return false;
    }
    path = fs::withSeparator(to) + path.substr(oldFolder.size());
    return true;
}

// The check boxes whose state the settings give as they stand.
struct DirectCheck
{
    Control control;
    bool Options::*value;
};
constexpr DirectCheck kDirectChecks[] = {
    {Control::ChkFSub, &Options::ChkFSub},       {Control::ChkSumName, &Options::ChkSumName},
    {Control::ChkFSel, &Options::ChkFSel},       {Control::ChkDel, &Options::ChkDel},
    {Control::ChkFile, &Options::ChkFile},       {Control::ChkZero, &Options::ChkZero},
    {Control::ChKRead, &Options::ChKRead},       {Control::ChkDirs, &Options::ChkDirs},
    {Control::ChkAutoNum, &Options::ChkAutoNum},
};

// Every check box and radio button the options read.
constexpr DirectCheck kOptionChecks[] = {
    {Control::RdoFile, &Options::RdoFile},         {Control::RdoPic, &Options::RdoPic},
    {Control::RdoNum, &Options::RdoNum},           {Control::RdoAsc, &Options::RdoAsc},
    {Control::RdoDesc, &Options::RdoDesc},         {Control::RdoNormal, &Options::RdoNormal},
    {Control::RdoMax, &Options::RdoMax},           {Control::RdoSumType1, &Options::RdoSumType1},
    {Control::RdoSumType2, &Options::RdoSumType2}, {Control::RdoFNon, &Options::RdoFNon},
    {Control::RdoFDwon, &Options::RdoFDwon},       {Control::RdoFWork, &Options::RdoFWork},
    {Control::RdoFETC, &Options::RdoFETC},
};

} // namespace

SpinRange spinRange(Control spin)
{
    return spin == Control::SpinKeta ? SpinRange{kSpinKetaMin, kSpinKetaMax}
                                     : SpinRange{kSpinFCntMin, kSpinFCntMax};
}

MainWindowLogic::MainWindowLogic(WindowControls& controls, WindowDesktop& desktop,
                                 std::string appFolder, std::string programFolder)
    : mControls(controls), mDesktop(desktop), mUi(controls, desktop),
      mAppFolder(std::move(appFolder)), mProgramFolder(std::move(programFolder))
{
}

void MainWindowLogic::guarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        mDesktop.showError(error.what());
    }
}

void MainWindowLogic::FormCreate()
{
    guarded([this] {
        mFolders = mAppFolder.empty() ? appFoldersFor(mProgramFolder) : appFoldersIn(mAppFolder);
        mShowState = ShowState{};
        mTreePath.clear();
        mListsExist = true;
        mSelectedFolder.clear();
        const LoadedSettings loaded = LoadSettings(mFolders.settings);
        applyLoadedSettings(loaded.options, loaded.window);
        updateUndoButton();
    });
}

void MainWindowLogic::FormClose()
{
    if (mDestroyed) {
        return;
    }
    guarded([this] { SaveSettings(mFolders.settings, options(), windowState()); });
}

bool MainWindowLogic::ViewerStillOpen()
{
    return mDesktop.viewerState().open;
}

void MainWindowLogic::FormDestroy()
{
    if (mDestroyed) {
        return;
    }
    mDestroyed = true;
    guarded([this] {
        mShowState.ImageNames = {};
        // Saving reads the tree path and the small-image folder, so those
        // stay until it is done. An error here skips the rest.
        SaveSettings(mFolders.settings, options(), windowState());
        mTreePath.clear();
        mShowState.SmallNames = {};
        mListsExist = false;
        if (mControls.isChecked(Control::ChkDel)) {
            DeleteFolderFiles(mFolders.data + "Work" + fs::kSeparator);
        }
    });
}

int MainWindowLogic::spinValue(Control spin) const
{
    // The value as the box's text spells it: the minimum when the text is no
    // number, and never outside the box's range.
    const SpinRange range = spinRange(spin);
    const int value = readWholeNumberOr(text::trimControls(mControls.text(spin)), range.minimum);
    return std::clamp(value, range.minimum, range.maximum);
}

Options MainWindowLogic::options() const
{
    Options o;
    for (const DirectCheck& check : kDirectChecks) {
        o.*check.value = mControls.isChecked(check.control);
    }
    for (const DirectCheck& check : kOptionChecks) {
        o.*check.value = mControls.isChecked(check.control);
    }
    o.EditTime1 = mControls.text(Control::EditTime1);
    o.EditTime2 = mControls.text(Control::EditTime2);
    o.EditTime3 = mControls.text(Control::EditTime3);
    o.SmallFolder = mSmallFolder;
    o.MemoPIC = mControls.lines(Control::MemoPIC);
    o.MemoMov = mControls.lines(Control::MemoMov);
    o.EditFHead = mControls.text(Control::EditFHead);
    o.SpinFCnt = spinValue(Control::SpinFCnt);
    o.SpinKeta = spinValue(Control::SpinKeta);
    return o;
}

WindowState MainWindowLogic::windowState() const
{
    const WindowBounds bounds = mControls.bounds();
    WindowState state;
    state.Top = bounds.top;
    state.Left = bounds.left;
    state.Width = bounds.width;
    state.Height = bounds.height;
    state.Page = mControls.currentPage() == TabPage::Path ? 0 : 1;
    state.TreePath = mTreePath;
    return state;
}

void MainWindowLogic::applyDirectSettings(const Options& loaded)
{
    for (const DirectCheck& check : kDirectChecks) {
        mControls.setChecked(check.control, loaded.*check.value);
    }
    // Type2 is the opposite of Type1; a checked radio button cannot be
    // unchecked directly, only by checking the other.
    mControls.setChecked(loaded.RdoSumType1 ? Control::RdoSumType1 : Control::RdoSumType2, true);
    mControls.setLines(Control::MemoPIC, loaded.MemoPIC);
    mControls.setLines(Control::MemoMov, loaded.MemoMov);
    mControls.setText(Control::EditFHead, loaded.EditFHead);
    mControls.setValue(Control::SpinFCnt, loaded.SpinFCnt);
    mControls.setValue(Control::SpinKeta, loaded.SpinKeta);
}

void MainWindowLogic::removeBlankLines(Control memo)
{
    std::vector<std::string> lines = mControls.lines(memo);
    const size_t before = lines.size();
    std::erase_if(lines, [](const std::string& line) { return text::trimControls(line).empty(); });
    if (lines.size() != before) {
        mControls.setLines(memo, lines);
    }
}

void MainWindowLogic::applyLoadedSettings(const Options& loaded, const WindowState& state)
{
    mControls.setBounds({state.Left, state.Top, state.Width, state.Height});
    applyDirectSettings(loaded);

    // The values held back until the direct ones are in place.
    mControls.showPage(state.Page != 0 ? TabPage::Show : TabPage::Path);
    const Control menu = loaded.RdoPic   ? Control::RdoPic
                         : loaded.RdoNum ? Control::RdoNum
                                         : Control::RdoFile;
    mControls.setChecked(menu, true);
    mControls.setChecked(loaded.RdoAsc ? Control::RdoAsc : Control::RdoDesc, true);
    mControls.setText(Control::EditTime1, loaded.EditTime1);
    mControls.setText(Control::EditTime2, loaded.EditTime2);
    mControls.setText(Control::EditTime3, loaded.EditTime3);
    mControls.setChecked(loaded.RdoNormal ? Control::RdoNormal : Control::RdoMax, true);

    removeBlankLines(Control::MemoPIC);
    removeBlankLines(Control::MemoMov);

    std::string smallPath = loaded.SmallFolder;
    if (!smallPath.empty() && fs::kSeparators.find(smallPath.back()) == std::string_view::npos) {
        smallPath.push_back(fs::kSeparator);
    }
    const Control smallButton = loaded.RdoFDwon   ? Control::RdoFDwon
                                : loaded.RdoFWork ? Control::RdoFWork
                                : loaded.RdoFETC  ? Control::RdoFETC
                                                  : Control::RdoFNon;
    mControls.setChecked(smallButton, true);
    RdoFETCClick();
    EditFHeadChange();

    // Choosing the stored folder empties SmallFolder, so it is restored after.
    SelectTreePath(state.TreePath);
    if (mControls.isChecked(Control::RdoFETC)) {
        mSmallFolder = smallPath;
        mControls.setHint(Control::BtnFdr, smallPath);
    }
}

void MainWindowLogic::showCommandResults(const Options& after)
{
    if (mControls.lines(Control::MemoPIC) != after.MemoPIC) {
        mControls.setLines(Control::MemoPIC, after.MemoPIC);
    }
    if (mControls.lines(Control::MemoMov) != after.MemoMov) {
        mControls.setLines(Control::MemoMov, after.MemoMov);
    }
    if (spinValue(Control::SpinFCnt) != after.SpinFCnt) {
        mControls.setValue(Control::SpinFCnt, after.SpinFCnt);
    }
}

void MainWindowLogic::runCommand(const std::function<void(Options&)>& command)
{
    guarded([&] {
        Options current = options();
        // What the command did to the options shows also when it fails.
        try {
            command(current);
        } catch (...) {
            mUi.endProgress();
            showCommandResults(current);
            throw;
        }
        mUi.endProgress();
        showCommandResults(current);
    });
}

void MainWindowLogic::BtnShowClick()
{
    runCommand([this](Options& current) {
        vimbrel::BtnShowClick(current, mSelectedFolder, mFolders.data, mShowState, mUi);
    });
}

void MainWindowLogic::BtnExecClick()
{
    runCommand([this](Options& current) {
        RenameRun run(current, mUi, renameJournal());
        run.BtnExecClick(mSelectedFolder);
    });
    updateUndoButton();
}

void MainWindowLogic::BtnUndoClick()
{
    guarded([this] {
        // Undo leaves the options, and so the start number, as they are.
        UndoRename(renameJournal(), mUi);
    });
    updateUndoButton();
}

std::string MainWindowLogic::renameJournal() const
{
    return renameJournalPath(mFolders.settings);
}

void MainWindowLogic::updateUndoButton()
{
    mControls.setEnabled(Control::BtnUndo, fs::isFile(renameJournal()));
}

void MainWindowLogic::EditFHeadChange()
{
    guarded([this] {
        const std::string sample = SampleText(options(), mControls.text(Control::SpinFCnt));
        mControls.setText(Control::LblSample, sample);
    });
}

void MainWindowLogic::RdoFETCClick()
{
    mControls.setEnabled(Control::BtnFdr, mControls.isChecked(Control::RdoFETC));
}

void MainWindowLogic::BtnFdrClick()
{
    guarded([this] {
        FolderTreeView& tree = mControls.tree();
        if (mSmallFolder.empty()) {
            mSmallFolder = tree.folderPath(tree.currentItem());
        }
        if (!fs::isDirectory(mSmallFolder)) {
            mSmallFolder.clear();
        }
        const std::optional<std::string> chosen =
            mDesktop.chooseFolder(kSmallFolderTitle, mSmallFolder);
        if (chosen) {
            mSmallFolder = *chosen;
        }
        mSmallFolder = fs::withSeparator(mSmallFolder);
        mControls.setHint(Control::BtnFdr, mSmallFolder);
    });
}

void MainWindowLogic::BtnVerClick()
{
    mDesktop.showAbout();
}

void MainWindowLogic::BtnHelpClick()
{
    mDesktop.showHelp(mFolders.program + kHelpFileName);
}

void MainWindowLogic::TreeDriveChange()
{
    // The tree selects its root while the window is still being built.
    if (!mListsExist) {
        return;
    }
    guarded([this] {
        FolderTreeView& tree = mControls.tree();
        const TreeItem item = tree.currentItem();
        mSmallFolder.clear();
        mTreePath.clear();
        mSelectedFolder = fs::withSeparator(tree.folderPath(item));
        mTreePath = tree.captionsBelowRoot(item);
        showSelectedFolder();
    });
}

void MainWindowLogic::showSelectedFolder()
{
    mControls.setText(Control::StatusPath, mSelectedFolder);
    mControls.setText(Control::StatusCount, std::to_string(countFiles()));
}

int MainWindowLogic::countFiles() const
{
    if (mSelectedFolder.empty()) {
        return 0; // the root item is no folder that a listing can open
    }
    // The extension list as it stands: a command cleans it, counting does not.
    const Options current = options();
    int count = 0;
    for (const fs::DirEntry& entry : fs::listFolder(mSelectedFolder)) {
        if (!entry.directory && (!current.ChkFSel || IsImageFile(current, entry.name))) {
            ++count;
        }
    }
    return count;
}

void MainWindowLogic::SelectTreePath(const std::vector<std::string>& storedPath)
{
    mSelectedFolder.clear();
    mTreePath.clear();
    if (storedPath.empty()) {
        return;
    }
    mTreePath = storedPath;
    FolderTreeView& tree = mControls.tree();
    TreeItem current = tree.rootItem();
    tree.expand(current);
    for (size_t i = 0; i < storedPath.size(); ++i) {
        const TreeItem child = tree.childByCaption(current, storedPath[i]);
        if (child == kNoItem) {
            return; // expanded as far as the captions match, no folder chosen
        }
        current = child;
        if (i + 1 < storedPath.size()) {
            tree.expand(current);
        } else if (tree.currentItem() == current) {
            TreeDriveChange(); // selecting the item again would not report it
        } else {
            tree.select(current);
        }
    }
}

void MainWindowLogic::StartWithFolder(const std::string& folder)
{
    guarded([&] {
        if (mControls.tree().selectFolder(folder)) {
            return; // reported as the person's choice
        }
        mSmallFolder.clear();
        mSelectedFolder = fs::withSeparator(folder);
        showSelectedFolder();
    });
}

void MainWindowLogic::FolderRenamed(const std::string& oldPath, const std::string& newPath)
{
    // A renamed folder on the way to the chosen one moves the chosen folder,
    // its captions and the small-image folder with it.
    if (followRename(mSelectedFolder, oldPath, newPath)) {
        FolderTreeView& tree = mControls.tree();
        mTreePath = tree.captionsBelowRoot(tree.currentItem());
        mControls.setText(Control::StatusPath, mSelectedFolder);
    }
    if (followRename(mSmallFolder, oldPath, newPath)) {
        mControls.setHint(Control::BtnFdr, mSmallFolder);
    }
}

void MainWindowLogic::RenameRefused(const std::string& message)
{
    mDesktop.showMessage(message);
}

void MainWindowLogic::OpenFolderRequested(const std::string& folder)
{
    mDesktop.openFolder(folder);
}

} // namespace vimbrel
