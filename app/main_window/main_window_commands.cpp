#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/help_window.h"
#include "app/main_window/desktop.h"
#include "app/main_window/folder_tree.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_user_interface.h"
#include "platform/file_system.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"
#include "rename/rename_undo.h"
#include "rename/sample_text.h"
#include "viewer/show/show_command.h"

namespace vimbrel {

void TForm1::runCommand(const std::function<void(Options&)>& command)
{
    guarded([&] {
        Options current = options();
        // What the command did to the options shows also when it fails.
        try {
            command(current);
        } catch (...) {
            mUi->endProgress();
            showCommandResults(current);
            throw;
        }
        mUi->endProgress();
        showCommandResults(current);
    });
}

void TForm1::BtnShowClick()
{
    runCommand([this](Options& current) {
        vimbrel::BtnShowClick(current, mSelectedFolder, mFolders.data, mShowState, *mUi);
    });
}

void TForm1::BtnExecClick()
{
    runCommand([this](Options& current) {
        RenameRun run(current, *mUi, renameJournal());
        run.BtnExecClick(mSelectedFolder);
    });
    updateUndoButton();
}

void TForm1::BtnUndoClick()
{
    guarded([this] {
        // Undo leaves the options, and so the start number, as they are.
        UndoRename(renameJournal(), *mUi);
    });
    updateUndoButton();
}

std::string TForm1::renameJournal() const
{
    return renameJournalPath(mFolders.settings);
}

void TForm1::updateUndoButton()
{
    mControls.BtnUndo->setEnabled(fs::isFile(renameJournal()));
}

void TForm1::EditFHeadChange()
{
    guarded([this] {
        const std::string sample = SampleText(options(), mControls.SpinFCnt->text().toStdString());
        mControls.LblSample->setText(QString::fromStdString(sample));
    });
}

void TForm1::RdoFETCClick()
{
    mControls.BtnFdr->setEnabled(mControls.RdoFETC->isChecked());
}

void TForm1::BtnFdrClick()
{
    guarded([this] {
        if (mSmallFolder.empty()) {
            mSmallFolder = mControls.TreeDrive->folderPath(mControls.TreeDrive->currentIndex());
        }
        if (!fs::isDirectory(mSmallFolder)) {
            mSmallFolder.clear();
        }
        const std::optional<std::string> chosen =
            mDesktop.chooseFolder(this, kSmallFolderTitle, mSmallFolder);
        if (chosen) {
            mSmallFolder = *chosen;
        }
        mSmallFolder = fs::withSeparator(mSmallFolder);
        mControls.BtnFdr->setToolTip(QString::fromStdString(mSmallFolder));
    });
}

void TForm1::BtnVerClick()
{
    if (mAboutBox != nullptr) {
        mAboutBox->show();
        mAboutBox->raise();
        mAboutBox->activateWindow();
    }
}

void TForm1::BtnHelpClick()
{
    if (mHelpWindow == nullptr) {
        mHelpWindow = new HelpWindow(mFolders.program + kHelpFileName, this);
    }
    mHelpWindow->showContents();
}

} // namespace vimbrel
