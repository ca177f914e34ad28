// The list on その他 of what 実行 would do, in the window: made from the
// options as they change, off the window's thread, the last list kept until
// the next is ready.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/main_window/main_window.h"
#include "app/main_window/rename_preview_panel.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class RenamePreviewWindowTest : public ::testing::Test
{
protected:
    // Shows その他 with `folder` chosen and waits for the first list.
    void open(const std::string& folder)
    {
        window.SelectTreePath(captionsOf(folder));
        window.controls().Page->setCurrentWidget(window.controls().TabOther);
        ASSERT_TRUE(nextList());
    }

    bool nextList()
    {
        QSignalSpy shown(&window.renamePreview(), &RenamePreviewPanel::listShown);
        return shown.wait(60000);
    }

    QStringList lines() const
    {
        return window.controls().MemoPreview->toPlainText().split('\n', Qt::SkipEmptyParts);
    }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
    TForm1 window{desktop, app.path()};
};

TEST_F(RenamePreviewWindowTest, ListsWhatExecWouldDoAndFollowsTheOptions)
{
    for (const char* name : {"b.jpg", "a.jpg", "memo.txt"}) {
        pictures.write(std::string("set/") + name, "x");
    }
    open(pictures / "set/");
    EXPECT_EQ(lines(), (QStringList{"a.jpg → Sample0001.jpg", "b.jpg → Sample0002.jpg",
                                    "memo.txt → Sample0003.txt"}));
    EXPECT_EQ(window.controls().LblPreview->text(), "変更 3 件、そのまま 0 件");

    window.controls().EditFHead->setText("Pic");
    ASSERT_TRUE(nextList());
    EXPECT_EQ(lines().first(), "a.jpg → Pic0001.jpg");
    window.controls().ChkFSel->setChecked(true);
    ASSERT_TRUE(nextList());
    EXPECT_EQ(lines().last(), "× memo.txt（画像ファイルでない）");
    EXPECT_EQ(window.controls().LblPreview->text(), "変更 2 件、そのまま 1 件");
    // Nothing was renamed.
    EXPECT_TRUE(testing::readFile(pictures / "set/a.jpg") == "x");
}

// Ten thousand files: the list is made on a worker while the window goes on
// taking input, and the last list stays, with "…", until the new one is in.
TEST_F(RenamePreviewWindowTest, ALargeFolderIsListedOffTheWindowsThread)
{
    for (int i = 0; i < 10000; ++i) {
        pictures.write("many/f" + std::to_string(i) + ".jpg", "");
    }
    open(pictures / "many/");
    ASSERT_EQ(lines().size(), 10000);
    const QString before = window.controls().MemoPreview->toPlainText();

    window.controls().EditFHead->setText("Pic");
    RenamePreviewPanel& preview = window.renamePreview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.working(); }, 10000));
    // The window's thread is here, free, while the worker lists.
    EXPECT_EQ(window.controls().LblPreview->text(), QString::fromUtf8(kPreviewWorking));
    EXPECT_EQ(window.controls().MemoPreview->toPlainText(), before);
    ASSERT_TRUE(nextList());
    EXPECT_EQ(lines().size(), 10000);
    EXPECT_TRUE(lines().first().contains("→ Pic")) << lines().first().toStdString();
}

} // namespace
} // namespace vimbrel
