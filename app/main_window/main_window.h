#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "app/main_window/form_controls.h"
#include "app/window_logic/window_desktop.h"
#include "app/window_logic/window_user_interface.h"
#include "platform/app_folders.h"
#include "settings/options.h"
#include "settings/window_state.h"

class QProgressDialog;

namespace vimbrel {

class RenamePreviewPanel;

class Desktop;
class HelpWindow;
class MainWindowLogic;
class QtWindowControls;
class QtWindowDesktop;

// The main window in Qt: the button bar, the four tabs and the status bar.
// It builds the controls and hands their events to the window's behaviour,
// which owns the state the commands share, loads the settings into the
// controls when the window is built and saves them when it goes.
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
    // The window closes (saves the settings); the program may go on serving
    // the viewer, and the window may be shown again.
    void FormClose();
    // The program ends: saves, and empties the Work folder when asked.
    void FormDestroy();
    // True while a viewer window the tool served is open in the browser.
    bool ViewerStillOpen();
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
    void SelectTreePath(const std::vector<std::string>& storedPath);
    // The folder given on the command line: chosen as if picked in the tree.
    void StartWithFolder(const std::string& folder);

    // The box BtnVer shows; the window does not own it.
    void setAboutBox(QWidget* aboutBox);

    // The options as the controls hold them at this moment.
    Options options() const;
    // The window state that saving stores.
    WindowState windowState() const;

    const FormControls& controls() const { return mControls; }
    // The folder the Show runs keep Work/ in.
    const std::string& AppFolder() const;
    const AppFolders& folders() const;
    const std::string& SelectedFolder() const;
    const std::string& SmallFolder() const;
    const std::vector<std::string>& TreePath() const;
    WindowUserInterface& userInterface() const;
    HelpWindow* helpWindow() const;
    // The progress box of the work under way, or null when there is none.
    QProgressDialog* progressDialog() const;
    // The list on その他 of what 実行 would do.
    RenamePreviewPanel& renamePreview() const { return *mPreview; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void connectHandlers();
    void connectPreview();

    FormControls mControls;
    std::unique_ptr<QtWindowControls> mControlsView;
    std::unique_ptr<QtWindowDesktop> mDesktopView;
    std::unique_ptr<MainWindowLogic> mLogic;
    RenamePreviewPanel* mPreview = nullptr;
};

} // namespace vimbrel
