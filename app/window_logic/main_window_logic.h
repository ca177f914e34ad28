#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/window_logic/window_controls.h"
#include "app/window_logic/window_user_interface.h"
#include "platform/app_folders.h"
#include "settings/options.h"
#include "settings/window_state.h"
#include "viewer/show/show_state.h"

namespace vimbrel {

class WindowDesktop;

// The range a spin box of the window keeps its value in.
struct SpinRange
{
    int minimum;
    int maximum;
};
SpinRange spinRange(Control spin);

// What the main window does, whatever toolkit draws it: the state the
// commands share (the chosen folders, the tree path and the lists of a run),
// the event handlers, the settings loaded into the controls at start and
// saved from them at the end, and the Work folder emptied when asked. The
// shell creates the controls, forwards their events here and shows what
// this sets.
class MainWindowLogic
{
public:
    // `appFolder` (ending in a separator) holds Vimbrel.INI, Work/, Img/ and
    // the help file; empty means the folder of the program `programFolder`,
    // or the person's own folders where that cannot be written. Both
    // interfaces must outlive this.
    MainWindowLogic(WindowControls& controls, WindowDesktop& desktop, std::string appFolder,
                    std::string programFolder);

    // The event handlers.
    void FormCreate();
    // The window closes: the settings are saved. The program may go on
    // serving a viewer still open in the browser, and the window may be
    // shown again.
    void FormClose();
    // The program ends: the settings are saved, and the Work folder emptied
    // when asked; the last thing before it ends.
    void FormDestroy();
    void BtnShowClick();
    void BtnVerClick();
    void BtnHelpClick();
    void TreeDriveChange();
    void RdoFETCClick();
    void BtnFdrClick();
    void EditFHeadChange();
    void BtnExecClick();
    // 元に戻す: takes back the last rename run from its journal.
    void BtnUndoClick();
    // Reopens the tree along stored captions and chooses the folder at their
    // end; stops, with no folder chosen, where a caption no longer matches.
    void SelectTreePath(const std::vector<std::string>& storedPath);
    // The folder the program was started with: chosen in the tree as if the
    // person had picked it. A folder the tree does not have is still the
    // chosen one, so that 表示 says it is missing, and the stored tree path
    // stays.
    void StartWithFolder(const std::string& folder);
    // A folder of the tree was renamed on disk (paths without trailing
    // separator): the chosen folders below it move with it.
    void FolderRenamed(const std::string& oldPath, const std::string& newPath);
    // The tree refused an in-place rename with `message`.
    void RenameRefused(const std::string& message);
    // The person asked the tree to open `folder` in the file manager.
    void OpenFolderRequested(const std::string& folder);

    // The options as the controls hold them at this moment.
    Options options() const;
    // The window state that saving stores.
    WindowState windowState() const;

    const std::string& AppFolder() const { return mFolders.data; }
    const AppFolders& folders() const { return mFolders; }
    const std::string& SelectedFolder() const { return mSelectedFolder; }
    const std::string& SmallFolder() const { return mSmallFolder; }
    const std::vector<std::string>& TreePath() const { return mTreePath; }
    WindowUserInterface& userInterface() { return mUi; }
    // True while a viewer window the tool served is open in the browser: the
    // program goes on after its window has closed until this turns false.
    bool ViewerStillOpen();
    // Where rename runs keep their journal, beside the settings file.
    std::string renameJournal() const;

private:
    void applyLoadedSettings(const Options& loaded, const WindowState& state);
    void applyDirectSettings(const Options& loaded);
    void removeBlankLines(Control memo);
    int spinValue(Control spin) const;
    // Runs a command on the options as the controls hold them.
    void runCommand(const std::function<void(Options&)>& command);
    // Shows the results a command leaves in its options: the cleaned
    // extension lists and the advanced start number.
    void showCommandResults(const Options& after);
    int countFiles() const;
    // The status bar's path and count for the chosen folder.
    void showSelectedFolder();
    // 元に戻す can be pressed while a journal exists.
    void updateUndoButton();
    // Runs a handler; an error escaping it goes to the general error box.
    void guarded(const std::function<void()>& body);

    WindowControls& mControls;
    WindowDesktop& mDesktop;
    WindowUserInterface mUi;
    // Given to the window: one folder for everything (tests, a copied app
    // folder), or empty for the folders that suit where the program lies.
    std::string mAppFolder;
    std::string mProgramFolder;
    AppFolders mFolders;
    std::string mSelectedFolder;
    std::string mSmallFolder;
    std::vector<std::string> mTreePath;
    // ImageNames and SmallNames of the last Show run.
    ShowState mShowState;
    // The lists exist from FormCreate until FormDestroy; a tree selection
    // outside that time is ignored.
    bool mListsExist = false;
    bool mDestroyed = false;
};

} // namespace vimbrel
