#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "app/main_window/form_controls.h"
#include "platform/app_folders.h"
#include "settings/options.h"
#include "settings/window_state.h"
#include "viewer/show/show_state.h"

class QModelIndex;

namespace vimbrel {

class Desktop;
class HelpWindow;
class WindowUserInterface;

// The main window: the button bar, the four tabs and the status bar. It owns
// the state the commands share (the chosen folders, the tree path and the
// lists of a run), loads the settings into its controls when it is built and
// saves them, and empties the Work folder when asked, when it goes.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // `appFolder` (ending in "/") holds Vimbrel.INI, Work/, Img/ and the
    // help file; empty means the folder of the executable, or the person's
    // config and data folders where that cannot be written. The boxes and
    // choosers go through `desktop`, which must outlive the window.
    explicit TForm1(Desktop& desktop, std::string appFolder = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The event handlers.
    void FormCreate();
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

    // The box BtnVer shows; the window does not own it.
    void setAboutBox(QWidget* aboutBox) { mAboutBox = aboutBox; }

    // The options as the controls hold them at this moment.
    Options options() const;
    // The window state that saving stores.
    WindowState windowState() const;

    const FormControls& controls() const { return mControls; }
    // The folder the Show runs keep Work/ in.
    const std::string& AppFolder() const { return mFolders.data; }
    const AppFolders& folders() const { return mFolders; }
    const std::string& SelectedFolder() const { return mSelectedFolder; }
    const std::string& SmallFolder() const { return mSmallFolder; }
    const std::vector<std::string>& TreePath() const { return mTreePath; }
    WindowUserInterface& userInterface() const { return *mUi; }
    HelpWindow* helpWindow() const { return mHelpWindow; }

private:
    void buildForm();
    void connectHandlers();
    void applyLoadedSettings(const Options& loaded, const WindowState& state);
    void applyDirectSettings(const Options& loaded);
    // Runs a command on the options as the controls hold them.
    void runCommand(const std::function<void(Options&)>& command);
    // Shows the results a command leaves in its options: the cleaned
    // extension lists and the advanced start number.
    void showCommandResults(const Options& after);
    int countFiles() const;
    // Where rename runs keep their journal, beside the settings file.
    std::string renameJournal() const;
    // 元に戻す can be pressed while a journal exists.
    void updateUndoButton();
    void onTreeCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void onFolderRenamed(const std::string& oldPath, const std::string& newPath);
    void onRenameRefused(const QString& message);
    void onOpenFolderRequested(const std::string& folder);
    // Runs a handler; an error escaping it goes to the general error box.
    void guarded(const std::function<void()>& body);

    Desktop& mDesktop;
    // Given to the window: one folder for everything (tests, a copied app
    // folder), or empty for the folders that suit where the program lies.
    std::string mAppFolder;
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
    FormControls mControls;
    std::unique_ptr<WindowUserInterface> mUi;
    QWidget* mAboutBox = nullptr;
    HelpWindow* mHelpWindow = nullptr;
};

// The title of the folder chooser of 指定.
inline constexpr const char* kSmallFolderTitle = "小画像作成先フォルダを指定してください";

} // namespace vimbrel
