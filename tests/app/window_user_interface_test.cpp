#include "app/window_logic/window_user_interface.h"

#include <QLabel>
#include <QProgressDialog>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "app/main_window/main_window.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::RecordingDesktop;
using testing::TempFolder;

class WindowUserInterfaceTest : public ::testing::Test
{
protected:
    RecordingDesktop desktop;
    TempFolder app;
    TForm1 window{desktop, app.path()};
    WindowUserInterface& ui = window.userInterface();
};

TEST_F(WindowUserInterfaceTest, ReportsGoToTheWindowsControlsAndBoxes)
{
    ui.showMessage("一行目\rPATH=/x/");
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"一行目\rPATH=/x/"});
    ui.showFileCount(42);
    EXPECT_EQ(window.controls().StatusPanels[1]->text(), "42");
    ui.setRenameTabEnabled(false);
    EXPECT_FALSE(window.controls().TabOther->isEnabled());
    ui.setRenameTabEnabled(true);
    EXPECT_TRUE(window.controls().TabOther->isEnabled());
    ViewerPages pages{"/w/index.htm", "/w/", "/p/", ""};
    ui.openViewer(pages, true);
    ASSERT_EQ(desktop.openedViewers.size(), 1u);
    EXPECT_EQ(desktop.openedViewers[0].indexPath, "/w/index.htm");
    EXPECT_TRUE(desktop.openedMaximised[0]);
}

TEST_F(WindowUserInterfaceTest, ProgressRunsInAModalBoxThatCanStopTheWork)
{
    EXPECT_TRUE(ui.reportProgress(0, 10));
    ASSERT_NE(window.progressDialog(), nullptr);
    EXPECT_EQ(window.progressDialog()->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(ui.reportProgress(3, 10));
    EXPECT_EQ(window.progressDialog()->value(), 3);
    window.progressDialog()->cancel();
    EXPECT_FALSE(ui.reportProgress(4, 10));
    EXPECT_EQ(window.progressDialog(), nullptr);
}

TEST_F(WindowUserInterfaceTest, TheProgressBoxGoesWhenTheWorkIsDone)
{
    EXPECT_TRUE(ui.reportProgress(0, 2));
    EXPECT_TRUE(ui.reportProgress(2, 2));
    EXPECT_EQ(window.progressDialog(), nullptr);
    // Out-of-range reports neither crash nor stop the work.
    EXPECT_TRUE(ui.reportProgress(5, 0));
    EXPECT_TRUE(ui.reportProgress(-1, 3));
}

} // namespace
} // namespace vimbrel
