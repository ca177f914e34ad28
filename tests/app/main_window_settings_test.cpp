// Closing the window saves its options and state; the next start brings them
// back in the order the loading steps give.
#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/main_window/folder_tree.h"
#include "app/main_window/main_window.h"
#include "app/main_window/time_edit.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class MainWindowSettingsTest : public ::testing::Test
{
protected:
    std::unique_ptr<TForm1> open() { return std::make_unique<TForm1>(desktop, app.path()); }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
};

TEST_F(MainWindowSettingsTest, ARestartReopensTheTreeAtTheStoredFolder)
{
    pictures.write("chosen/a.jpg", "x");
    pictures.write("chosen/b.txt", "x");
    const std::string folder = pictures / "chosen/";
    auto window = open();
    window->SelectTreePath(captionsOf(folder));
    window.reset();

    window = open();
    EXPECT_EQ(window->SelectedFolder(), folder);
    EXPECT_EQ(window->TreePath(), captionsOf(folder));
    const FolderTree* tree = window->controls().TreeDrive;
    EXPECT_EQ(tree->folderPath(tree->currentIndex()) + "/", folder);
    EXPECT_EQ(window->controls().StatusPanels[3]->text().toStdString(), folder);
    EXPECT_EQ(window->controls().StatusPanels[1]->text(), "2");
}

TEST_F(MainWindowSettingsTest, AStoredFolderRenamedMeanwhileLeavesNoFolderChosen)
{
    pictures.makeFolder("before");
    auto window = open();
    window->SelectTreePath(captionsOf(pictures / "before"));
    window.reset();
    std::filesystem::rename(pictures / "before", pictures / "after");

    window = open();
    EXPECT_EQ(window->SelectedFolder(), "");
    EXPECT_EQ(window->controls().StatusPanels[3]->text(), "");
    const FolderTree* tree = window->controls().TreeDrive;
    EXPECT_EQ(tree->currentIndex(), tree->rootItem());
    window->BtnShowClick();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"フォルダが選択されてません"});
}

TEST_F(MainWindowSettingsTest, OnlyThePlaceTabReopensAsItself)
{
    const std::pair<int, int> closedOpened[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}};
    for (const auto& [closed, opened] : closedOpened) {
        auto window = open();
        window->controls().Page->setCurrentIndex(closed);
        window.reset();
        window = open();
        EXPECT_EQ(window->controls().Page->currentIndex(), opened) << "closed on " << closed;
    }
}

TEST_F(MainWindowSettingsTest, OptionsBoundsAndTheChosenSmallFolderComeBack)
{
    const std::string small = pictures.makeFolder("small");
    pictures.makeFolder("chosen");
    auto window = open();
    const FormControls& c = window->controls();
    window->SelectTreePath(captionsOf(pictures / "chosen"));
    c.RdoFETC->click();
    desktop.chooserAnswer = small;
    c.BtnFdr->click();
    c.RdoPic->click();
    c.RdoDesc->click();
    c.RdoMax->click();
    c.RdoSumType2->click();
    c.ChkSumName->setChecked(true);
    c.EditTime1->setTimeText("  1");
    c.EditTime2->setTimeText("");
    c.SpinFCnt->setValue(77);
    c.SpinKeta->setValue(2);
    c.ChkZero->setChecked(false);
    window->move(30, 40);
    window->resize(500, 420);
    window.reset();

    window = open();
    const FormControls& d = window->controls();
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_EQ(window->size(), QSize(500, 420));
    EXPECT_TRUE(d.RdoFETC->isChecked());
    EXPECT_TRUE(d.BtnFdr->isEnabled());
    // Restored after the tree chose the stored folder, which empties it.
    EXPECT_EQ(window->SelectedFolder(), pictures / "chosen/");
    EXPECT_EQ(window->SmallFolder(), small);
    EXPECT_EQ(d.BtnFdr->toolTip().toStdString(), small);
    EXPECT_TRUE(d.RdoPic->isChecked());
    EXPECT_TRUE(d.RdoDesc->isChecked());
    EXPECT_TRUE(d.RdoMax->isChecked());
    EXPECT_TRUE(d.RdoSumType2->isChecked());
    EXPECT_TRUE(d.ChkSumName->isChecked());
    // "  1" was one tenth; an emptied edit comes back with its default.
    EXPECT_EQ(d.EditTime1->displayText(), "  0.1");
    EXPECT_EQ(d.EditTime2->displayText(), " 10.0");
    EXPECT_EQ(d.SpinFCnt->value(), 77);
    EXPECT_EQ(d.LblSample->text(), "Sample77.TXT");
}

TEST_F(MainWindowSettingsTest, ASmallFolderIsRestoredOnlyForTheFreeChoice)
{
    const std::string small = pictures.makeFolder("small");
    auto window = open();
    window->controls().RdoFETC->click();
    desktop.chooserAnswer = small;
    window->controls().BtnFdr->click();
    window->controls().RdoFWork->click();
    window.reset();

    window = open();
    EXPECT_TRUE(window->controls().RdoFWork->isChecked());
    EXPECT_FALSE(window->controls().BtnFdr->isEnabled());
    EXPECT_EQ(window->SmallFolder(), "");
}

TEST_F(MainWindowSettingsTest, ASaveThatFailsIsShownAndKeepsTheWorkFolder)
{
    const std::string page = app.write("Work/index.htm", "x");
    // A folder where the settings file must go cannot be replaced by a file.
    app.makeFolder("Vimbrel.INI");
    open().reset();
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_EQ(desktop.errors[0], app / "Vimbrel.INI" + " に書き込めません");
    EXPECT_TRUE(std::filesystem::exists(page));
}

} // namespace
} // namespace vimbrel
