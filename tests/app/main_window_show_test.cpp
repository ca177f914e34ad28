// The 表示 button runs the Show command on the chosen folder and opens the
// viewer through the desktop.
#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/main_window/main_window.h"
#include "app/window_logic/window_user_interface.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class MainWindowShowTest : public ::testing::Test
{
protected:
    std::unique_ptr<TForm1> open() { return std::make_unique<TForm1>(desktop, app.path()); }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
};

TEST_F(MainWindowShowTest, BtnShowWritesTheViewerAndOpensIt)
{
    pictures.write("set/a.jpg", "x");
    pictures.write("set/b.gif", "x");
    pictures.write("set/c.txt", "x");
    auto window = open();
    window->controls().ChkFSel->setChecked(true);
    window->SelectTreePath(captionsOf(pictures / "set"));
    EXPECT_EQ(window->controls().StatusPanels[1]->text(), "2");
    window->controls().BtnShow->click();
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_EQ(desktop.openedViewers.size(), 1u);
    EXPECT_EQ(desktop.openedViewers[0].indexPath, app / "Work/index.htm");
    EXPECT_EQ(desktop.openedViewers[0].pictureFolder, pictures / "set/");
    EXPECT_FALSE(desktop.openedMaximised[0]);
    for (const char* page : {"index.htm", "menu.htm", "btns.htm", "main.htm", "sum_frame.htm",
                             "sum_head.htm", "sum_main.htm"}) {
        EXPECT_TRUE(std::filesystem::exists(app / "Work/" + page)) << page;
    }
    EXPECT_EQ(window->controls().StatusPanels[1]->text(), "2");
}

TEST_F(MainWindowShowTest, BtnShowCleansTheListsEvenWhenItStops)
{
    auto window = open();
    window->controls().MemoPIC->setPlainText(" jpg\n\n gif ");
    window->controls().BtnShow->click();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"フォルダが選択されてません"});
    EXPECT_EQ(window->controls().MemoPIC->toPlainText(), "JPG\nGIF");
    EXPECT_TRUE(desktop.openedViewers.empty());
}

TEST_F(MainWindowShowTest, AnEmptyFolderStopsWithAMessageAndACountOfNought)
{
    pictures.makeFolder("empty/inner");
    auto window = open();
    window->SelectTreePath(captionsOf(pictures / "empty"));
    window->controls().BtnShow->click();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"ファイルがありません"});
    EXPECT_EQ(window->controls().StatusPanels[1]->text(), "0");
    EXPECT_TRUE(desktop.openedViewers.empty());
}

TEST_F(MainWindowShowTest, APageThatCannotBeWrittenGoesToTheErrorBox)
{
    pictures.write("set/a.jpg", "x");
    // A folder standing where index.htm must be written.
    app.makeFolder("Work/index.htm");
    auto window = open();
    window->SelectTreePath(captionsOf(pictures / "set"));
    window->controls().BtnShow->click();
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_FALSE(desktop.errors[0].empty());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.openedViewers.empty());
    // The window goes on working.
    window->controls().RdoFETC->click();
    EXPECT_TRUE(window->controls().BtnFdr->isEnabled());
}

TEST_F(MainWindowShowTest, SmallImagesAreMadeUnderAProgressBoxThatGoesAfterwards)
{
    pictures.makeFolder("big");
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"}) {
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(pictures / "big/" + name), "JPEG"));
    }
    auto window = open();
    window->controls().RdoFWork->click();
    window->SelectTreePath(captionsOf(pictures / "big"));
    window->controls().BtnShow->click();
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"}) {
        EXPECT_EQ(QImage(QString::fromStdString(app / "Work/" + name)).width(), 100) << name;
    }
    ASSERT_EQ(desktop.openedViewers.size(), 1u);
    EXPECT_EQ(desktop.openedViewers[0].smallFolder, app / "Work/");
    EXPECT_EQ(window->progressDialog(), nullptr);
}

} // namespace
} // namespace vimbrel
