// The main window's behaviour, driven as its shells drive it, on every
// platform: through plain controls, a tree over a temporary folder and a
// desktop that answers for the person.
#include "app/window_logic/main_window_logic.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "tests/app/window_logic/fake_window.h"
#include "tests/support/temp_folder.h"
#include "viewer/show/show_messages.h"

namespace vimbrel {
namespace {

using testing::FakeControls;
using testing::FakeDesktop;
using testing::FakeTree;
using testing::TempFolder;

std::string withoutSeparator(std::string path)
{
    path.pop_back();
    return path;
}

// One run of the program: the window is built, used and closed.
struct Session
{
    Session(const TempFolder& app, const TempFolder& disk)
        : tree("TMP", withoutSeparator(disk.path())), controls(tree),
          window(controls, desktop, app.path(), app.path())
    {
        tree.window = &window;
        window.FormCreate();
    }

    FakeTree tree;
    FakeControls controls;
    FakeDesktop desktop;
    MainWindowLogic window;
};

class MainWindowLogicTest : public ::testing::Test
{
protected:
    std::unique_ptr<Session> start() { return std::make_unique<Session>(app, disk); }

    // Chooses `folder` (a path below the disk) in the tree by its captions.
    static void choose(Session& session, std::vector<std::string> captions)
    {
        captions.insert(captions.begin(), "TMP");
        FolderTreeView& tree = session.tree;
        TreeItem item = tree.rootItem();
        for (const std::string& caption : captions) {
            item = tree.childByCaption(item, caption);
            ASSERT_NE(item, kNoItem) << caption;
        }
        tree.select(item);
    }

    TempFolder app;
    TempFolder disk;
};

TEST_F(MainWindowLogicTest, AFirstStartShowsTheFirstStartValuesAndNoFolder)
{
    auto session = start();
    const FakeControls& c = session->controls;
    EXPECT_EQ(c.page, TabPage::Path);
    EXPECT_EQ(session->window.SelectedFolder(), "");
    EXPECT_EQ(c.text(Control::StatusCount), "");
    EXPECT_EQ(c.text(Control::StatusPath), "");
    EXPECT_FALSE(c.enabled.at(Control::BtnFdr));
    EXPECT_FALSE(c.enabled.at(Control::BtnUndo));
    EXPECT_EQ(c.text(Control::LblSample), "Sample0001.TXT");
    // Where the first start differs from the window as built.
    EXPECT_TRUE(c.isChecked(Control::ChkDel));
    EXPECT_TRUE(c.isChecked(Control::ChkAutoNum));
    EXPECT_EQ(c.lines(Control::MemoPIC), (std::vector<std::string>{"JPEG", "JPG", "GIF", "BMP"}));
    EXPECT_EQ(c.text(Control::EditTime1), "  10");
    EXPECT_TRUE(session->desktop.errors.empty());
}

TEST_F(MainWindowLogicTest, ChoosingAFolderCountsItsFilesAsTheFilterStandsThen)
{
    for (const char* name : {"p/a.jpg", "p/b.jpg", "p/c.JPG", "p/d.txt", "p/e.txt"}) {
        disk.write(name, "x");
    }
    disk.makeFolder("p/sub");
    auto session = start();
    FakeControls& c = session->controls;
    choose(*session, {"p"});
    EXPECT_EQ(session->window.SelectedFolder(), disk / "p/");
    EXPECT_EQ(c.text(Control::StatusPath), disk / "p/");
    EXPECT_EQ(c.text(Control::StatusCount), "5");
    EXPECT_EQ(session->window.TreePath(), (std::vector<std::string>{"TMP", "p"}));

    c.setChecked(Control::ChkFSel, true);
    EXPECT_EQ(c.text(Control::StatusCount), "5"); // not until the next choice
    choose(*session, {"p", "sub"});
    choose(*session, {"p"});
    EXPECT_EQ(c.text(Control::StatusCount), "3");
    // A lower-case extension in the list does not count until a command
    // has cleaned it.
    c.setLines(Control::MemoPIC, {"txt"});
    choose(*session, {"p", "sub"});
    choose(*session, {"p"});
    EXPECT_EQ(c.text(Control::StatusCount), "0");
}

TEST_F(MainWindowLogicTest, TheNextStartReopensTheChosenFolderOrStopsWhereItIsGone)
{
    disk.write("a/b/photo.jpg", "x");
    {
        auto session = start();
        choose(*session, {"a", "b"});
        session->controls.showPage(TabPage::Show);
        session->controls.setBounds({30, 40, 500, 420});
        session->window.FormDestroy();
    }
    {
        auto session = start();
        EXPECT_EQ(session->window.SelectedFolder(), disk / "a/b/");
        EXPECT_EQ(session->controls.text(Control::StatusCount), "1");
        EXPECT_EQ(session->controls.page, TabPage::Show);
        EXPECT_EQ(session->controls.placement.left, 30);
        EXPECT_EQ(session->controls.placement.height, 420);
        session->window.FormDestroy();
    }
    ASSERT_TRUE(fs::renameNoReplace(disk / "a/b", disk / "a/c"));
    auto session = start();
    EXPECT_EQ(session->window.SelectedFolder(), "");
    EXPECT_EQ(session->tree.expanded.count(withoutSeparator(disk / "a/")), 1u);
}

// A folder given at start is chosen as a person would choose it and is
// stored as the tree path; one that is not there is still the chosen one, so
// that 表示 says so, and the stored path stays for the next start.
TEST_F(MainWindowLogicTest, TheStartFolderIsChosenAndAMissingOneIsReportedAtShow)
{
    disk.write("a/b/photo.jpg", "x");
    disk.write("old/photo.jpg", "x");
    {
        auto session = start();
        choose(*session, {"old"});
        session->window.FormDestroy();
    }
    {
        auto session = start();
        session->window.StartWithFolder(disk / "a/b");
        EXPECT_EQ(session->window.SelectedFolder(), disk / "a/b/");
        EXPECT_EQ(session->window.TreePath(), (std::vector<std::string>{"TMP", "a", "b"}));
        EXPECT_EQ(session->controls.text(Control::StatusCount), "1");
        session->window.FormDestroy();
    }
    auto session = start();
    EXPECT_EQ(session->window.SelectedFolder(), disk / "a/b/");
    session->window.StartWithFolder(disk / "gone");
    EXPECT_EQ(session->window.SelectedFolder(), disk / "gone/");
    EXPECT_EQ(session->controls.text(Control::StatusPath), disk / "gone/");
    EXPECT_EQ(session->window.TreePath(), (std::vector<std::string>{"TMP", "a", "b"}));
    session->window.BtnShowClick();
    EXPECT_EQ(session->desktop.messages,
              std::vector<std::string>{show_messages::folderMissing(disk / "gone/")});
}

TEST_F(MainWindowLogicTest, TheSmallImageFolderFollowsTheButtonTheChooserAndTheTree)
{
    disk.makeFolder("pics/small");
    auto session = start();
    FakeControls& c = session->controls;
    MainWindowLogic& window = session->window;
    c.setChecked(Control::RdoFETC, true);
    window.RdoFETCClick();
    EXPECT_TRUE(c.enabled.at(Control::BtnFdr));
    c.setChecked(Control::RdoFNon, true);
    window.RdoFETCClick();
    EXPECT_FALSE(c.enabled.at(Control::BtnFdr));

    choose(*session, {"pics"});
    window.BtnFdrClick(); // cancelled: the tree's folder stays
    EXPECT_EQ(window.SmallFolder(), disk / "pics/");
    EXPECT_EQ(c.hints.at(Control::BtnFdr), disk / "pics/");
    EXPECT_EQ(session->desktop.chooserStarts.back(), withoutSeparator(disk / "pics/"));

    session->desktop.chooserAnswer = withoutSeparator(disk / "pics/small/");
    window.BtnFdrClick();
    EXPECT_EQ(window.SmallFolder(), disk / "pics/small/");
    // Renaming a folder on the way moves both chosen folders with it.
    window.FolderRenamed(withoutSeparator(disk / "pics/"), withoutSeparator(disk / "bilder/"));
    EXPECT_EQ(window.SelectedFolder(), disk / "bilder/");
    EXPECT_EQ(window.SmallFolder(), disk / "bilder/small/");
    // Another folder in the tree forgets it; the hint keeps the old text.
    choose(*session, {"pics", "small"});
    EXPECT_EQ(window.SmallFolder(), "");
    EXPECT_EQ(c.hints.at(Control::BtnFdr), disk / "bilder/small/");
}

TEST_F(MainWindowLogicTest, ShowWritesTheViewerAndHandsItToTheBrowser)
{
    disk.write("pics/b.jpg", "x");
    disk.write("pics/a.jpg", "x");
    auto session = start();
    FakeDesktop& desktop = session->desktop;
    session->window.BtnShowClick();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{show_messages::kNoFolder});
    EXPECT_TRUE(desktop.openedViewers.empty());

    choose(*session, {"pics"});
    session->controls.setChecked(Control::RdoMax, true);
    session->controls.setLines(Control::MemoPIC, {" jpg ", ""});
    session->controls.setChecked(Control::ChkFSel, true);
    session->window.BtnShowClick();
    ASSERT_EQ(desktop.openedViewers.size(), 1u);
    EXPECT_EQ(desktop.openedViewers[0], app / "Work/index.htm");
    EXPECT_TRUE(desktop.openedMaximised[0]);
    EXPECT_TRUE(fs::isFile(app / "Work/index.htm"));
    EXPECT_EQ(session->controls.text(Control::StatusCount), "2");
    // The command's cleaned list shows in the memo.
    EXPECT_EQ(session->controls.lines(Control::MemoPIC), std::vector<std::string>{"JPG"});
    EXPECT_TRUE(desktop.messages.size() == 1u);

    // A browser that cannot be started is told, with the page to open.
    desktop.browserStarts = false;
    session->window.BtnShowClick();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1],
              std::string(kViewerFailedMessage) + "\rPATH=" + app / "Work/index.htm");
}

TEST_F(MainWindowLogicTest, ABrowserThatNeverAsksForTheViewerIsNotedWithThePageToOpen)
{
    disk.write("pics/a.jpg", "x");
    auto session = start();
    FakeDesktop& desktop = session->desktop;
    choose(*session, {"pics"});
    session->window.BtnShowClick();
    ASSERT_EQ(desktop.later.size(), 1u);
    EXPECT_EQ(desktop.later[0].first, std::chrono::seconds(20));
    // It came: nothing to say.
    desktop.runLater();
    EXPECT_EQ(session->controls.text(Control::StatusNote), "");
    session->window.BtnShowClick();
    desktop.viewer = {false, false, "/run/user/1000/vimbrel-x/open-viewer.html"};
    desktop.runLater();
    EXPECT_EQ(session->controls.text(Control::StatusNote),
              std::string(kBrowserAbsentNote) + "/run/user/1000/vimbrel-x/open-viewer.html");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowLogicTest, ClosingSavesAndTheEndCleansUpWhileAViewerMayStillBeOpen)
{
    disk.write("pics/a.jpg", "x");
    auto session = start();
    choose(*session, {"pics"});
    session->window.BtnShowClick();
    session->desktop.viewer.open = true;
    // The window closes: saved, but Work/ stays for the viewer still open.
    session->window.FormClose();
    EXPECT_TRUE(fs::isFile(app / "Vimbrel.INI"));
    EXPECT_TRUE(fs::isFile(app / "Work/index.htm"));
    EXPECT_TRUE(session->window.ViewerStillOpen());
    // Shown again and closed again: saved again, still nothing removed.
    ASSERT_TRUE(fs::deleteFile(app / "Vimbrel.INI"));
    session->window.FormClose();
    EXPECT_TRUE(fs::isFile(app / "Vimbrel.INI"));
    EXPECT_TRUE(fs::isFile(app / "Work/index.htm"));
    session->desktop.viewer.open = false;
    EXPECT_FALSE(session->window.ViewerStillOpen());
    session->window.FormDestroy();
    EXPECT_FALSE(fs::isFile(app / "Work/index.htm"));
}

TEST_F(MainWindowLogicTest, RenameAndItsUndoGoThroughTheJournal)
{
    disk.write("r/x.txt", "1");
    disk.write("r/y.txt", "2");
    auto session = start();
    FakeControls& c = session->controls;
    choose(*session, {"r"});
    c.setText(Control::EditFHead, "pic");
    c.setChecked(Control::ChkAutoNum, false);
    session->window.EditFHeadChange();
    EXPECT_EQ(c.text(Control::LblSample), "pic0001.TXT");
    session->window.BtnExecClick();
    EXPECT_TRUE(fs::isFile(disk / "r/pic0001.txt"));
    EXPECT_TRUE(fs::isFile(disk / "r/pic0002.txt"));
    EXPECT_EQ(c.text(Control::SpinFCnt), "3"); // without 自動 the start number moves on
    EXPECT_TRUE(c.enabled.at(Control::BtnUndo));

    session->window.BtnUndoClick();
    EXPECT_TRUE(fs::isFile(disk / "r/x.txt"));
    EXPECT_TRUE(fs::isFile(disk / "r/y.txt"));
    EXPECT_FALSE(fs::isFile(disk / "r/pic0001.txt"));
    EXPECT_FALSE(c.enabled.at(Control::BtnUndo));
    EXPECT_EQ(session->desktop.messages.size(), 2u);
}

TEST_F(MainWindowLogicTest, ClosingEmptiesWorkOnlyWhenTheSettingsWereSaved)
{
    disk.write("pics/a.jpg", "x");
    {
        auto session = start();
        choose(*session, {"pics"});
        session->window.BtnShowClick();
        session->window.FormDestroy();
        session->window.FormDestroy(); // a second end does nothing more
        EXPECT_FALSE(fs::isFile(app / "Work/index.htm"));
        EXPECT_TRUE(fs::isFile(app / "Vimbrel.INI"));
    }
    auto session = start();
    session->window.BtnShowClick();
    ASSERT_TRUE(fs::isFile(app / "Work/index.htm"));
    // A settings file that cannot be replaced: its place is a folder.
    ASSERT_TRUE(fs::deleteFile(app / "Vimbrel.INI"));
    app.makeFolder("Vimbrel.INI");
    session->window.FormDestroy();
    EXPECT_EQ(session->desktop.errors.size(), 1u);
    EXPECT_TRUE(fs::isFile(app / "Work/index.htm"));
}

TEST_F(MainWindowLogicTest, VersionHelpAndTheTreesRequestsGoToTheDesktop)
{
    auto session = start();
    session->window.BtnVerClick();
    session->window.BtnVerClick();
    EXPECT_EQ(session->desktop.aboutShown, 2);
    session->window.BtnHelpClick();
    EXPECT_EQ(session->desktop.helpFiles, std::vector<std::string>{app / "Vimbrel.html"});
    session->window.OpenFolderRequested("/x");
    EXPECT_EQ(session->desktop.openedFolders, std::vector<std::string>{"/x"});
    session->window.RenameRefused("no");
    EXPECT_EQ(session->desktop.messages, std::vector<std::string>{"no"});
}

TEST_F(MainWindowLogicTest, ProgressIsShownInRangeAndCanStopTheWork)
{
    auto session = start();
    FakeDesktop& desktop = session->desktop;
    WindowUserInterface& ui = session->window.userInterface();
    desktop.cancelAfter = 2;
    EXPECT_TRUE(ui.reportProgress(0, 10));
    EXPECT_TRUE(ui.reportProgress(-1, 10));
    EXPECT_FALSE(ui.reportProgress(12, 10));
    EXPECT_FALSE(desktop.progressShown);
    EXPECT_EQ(desktop.progress, (std::vector<std::pair<int, int>>{{0, 10}, {0, 10}, {10, 10}}));
    desktop.cancelAfter = -1;
    EXPECT_TRUE(ui.reportProgress(5, 0));
    EXPECT_EQ(desktop.progress.back(), (std::pair<int, int>{1, 1}));
    EXPECT_FALSE(desktop.progressShown);
    ui.showFileCount(42);
    EXPECT_EQ(session->controls.text(Control::StatusCount), "42");
    ui.setRenameTabEnabled(false);
    EXPECT_FALSE(session->controls.enabled.at(Control::TabOther));
}

} // namespace
} // namespace vimbrel
