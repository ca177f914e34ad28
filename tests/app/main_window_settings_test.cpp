// Closing the window saves its options and state; the next start brings them
// back in the order the loading steps give.
#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QCoreApplication>
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

// A stored size too small for the controls is shown at the window's minimum,
// where every control of every page is whole, and saved again as stored
// while the person leaves the size alone.
TEST_F(MainWindowSettingsTest, ASizeBelowTheMinimumIsShownWholeAndKeptAsStored)
{
    app.write("Vimbrel.INI", "[FORM]\r\nTOP=10\r\nLEFT=20\r\nWIDTH=120\r\nHEIGHT=90\r\n");
    auto window = open();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_GT(window->width(), 120);
    EXPECT_GT(window->height(), 90);
    const FormControls& c = window->controls();
    for (QWidget* tab : {c.TabShow, c.TabSet, c.TabOther}) {
        c.Page->setCurrentWidget(tab);
        QCoreApplication::processEvents();
        for (QWidget* child : tab->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(tab->rect().contains(child->geometry()))
                << child->objectName().toStdString() << " is cut off";
        }
    }
    window.reset();
    const std::string saved = testing::readFile(app / "Vimbrel.INI");
    EXPECT_NE(saved.find("WIDTH=120\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("HEIGHT=90\r\n"), std::string::npos);

    // Resized by the person, the window's own size is saved.
    window = open();
    window->show();
    window->resize(window->width() + 50, window->height());
    const int resized = window->width();
    window.reset();
    EXPECT_NE(testing::readFile(app / "Vimbrel.INI").find("WIDTH=" + std::to_string(resized)),
              std::string::npos);
}

} // namespace
} // namespace vimbrel
