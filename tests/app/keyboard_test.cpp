// The window with the keyboard alone, on the real window: Tab and Shift+Tab
// through every control and back, the tree's selection never moved by Tab,
// the memos left by Tab, the tabs switched with Ctrl, buttons pressed with
// Enter and Space.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/main_window/folder_tree.h"
#include "app/main_window/main_window.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"
#include "viewer/show/show_messages.h"

namespace vimbrel {
namespace {

using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class KeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    static QWidget* focused() { return QApplication::focusWidget(); }
    static std::string focusedName()
    {
        return focused() != nullptr ? focused()->objectName().toStdString() : "";
    }

    // The names the focus visits from 表示 on, pressing `key` until it is
    // back at 表示 (at most 40 presses).
    std::vector<std::string> focusChain(Qt::KeyboardModifiers modifiers)
    {
        window.controls().BtnShow->setFocus();
        std::vector<std::string> names;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab, modifiers);
            if (focused() == window.controls().BtnShow) {
                return names;
            }
            names.push_back(focusedName());
        }
        ADD_FAILURE() << "the focus never came back to 表示";
        return names;
    }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
    TForm1 window{desktop, app.path()};
};

TEST_F(KeyboardTest, TabVisitsEveryControlOfThePageInOrderAndShiftTabGoesBack)
{
    const std::vector<std::vector<std::string>> pages = {
        {"TreeDrive"},
        {"RdoFile", "RdoAsc", "RdoFNon", "ChkFSub", "EditTime1", "EditTime2", "EditTime3",
         "ChkSumName", "RdoSumType1", "RdoNormal"},
        // 動画 拡張子 (MemoMov) is hidden.
        {"ChkFSel", "MemoPIC", "ChkDel"},
        {"ChkFile", "EditFHead", "SpinFCnt", "ChkZero", "SpinKeta", "ChkAutoNum", "ChKRead",
         "ChkDirs", "BtnExec", "MemoPreview"}};
    for (size_t page = 0; page < pages.size(); ++page) {
        window.controls().Page->setCurrentIndex(int(page));
        std::vector<std::string> forward = {"BtnVer", "BtnHelp", "qt_tabwidget_tabbar"};
        forward.insert(forward.end(), pages[page].begin(), pages[page].end());
        EXPECT_EQ(focusChain(Qt::NoModifier), forward) << "page " << page;
        const std::vector<std::string> backward(forward.rbegin(), forward.rend());
        EXPECT_EQ(focusChain(Qt::ShiftModifier), backward) << "page " << page;
    }
}

TEST_F(KeyboardTest, TabLeavesTheTreeWithoutChangingTheChosenFolderAndArrowsChoose)
{
    pictures.write("one/a.jpg", "x");
    pictures.write("two/b.jpg", "x");
    window.SelectTreePath(captionsOf(pictures / "one/"));
    ASSERT_EQ(window.SelectedFolder(), pictures / "one/");
    FolderTree* tree = window.controls().TreeDrive;
    for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Tab, modifiers);
        EXPECT_NE(focused(), tree);
        EXPECT_EQ(window.SelectedFolder(), pictures / "one/");
    }
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(window.SelectedFolder(), pictures / "two/");
}

TEST_F(KeyboardTest, TabInAMemoMovesOnAndTypesNothing)
{
    window.controls().Page->setCurrentIndex(2);
    QPlainTextEdit* memo = window.controls().MemoPIC;
    const QString before = memo->toPlainText();
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_EQ(focusedName(), "ChkDel");
    EXPECT_EQ(memo->toPlainText(), before);
}

TEST_F(KeyboardTest, CtrlTabAndCtrlPageKeysStepThroughTheTabsFromAnywhere)
{
    QTabWidget* page = window.controls().Page;
    window.controls().BtnShow->setFocus();
    QTest::keyClick(focused(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(page->currentIndex(), 1);
    QTest::keyClick(focused(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(page->currentIndex(), 2);
    QTest::keyClick(focused(), Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(focused(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(page->currentIndex(), 0); // round to the first again
    QTest::keyClick(focused(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(page->currentIndex(), 3);
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(page->currentIndex(), 2);
}

TEST_F(KeyboardTest, EnterAndSpacePressTheFocusedButton)
{
    QToolButton* show = window.controls().BtnShow;
    show->setFocus();
    QTest::keyClick(show, Qt::Key_Return);
    QTest::keyClick(show, Qt::Key_Enter);
    QTest::keyClick(show, Qt::Key_Space);
    // No folder is chosen: each press of 表示 says so.
    EXPECT_EQ(desktop.messages, std::vector<std::string>(3, show_messages::kNoFolder));
}

} // namespace
} // namespace vimbrel
