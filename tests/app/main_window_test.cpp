#include "app/main_window/main_window.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/time_edit.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class MainWindowTest : public ::testing::Test
{
protected:
    std::unique_ptr<TForm1> open() { return std::make_unique<TForm1>(desktop, app.path()); }

    // Three pictures, two text files and a folder.
    std::string makePictureFolder(const std::string& name)
    {
        for (const char* file : {"a.jpg", "b.jpg", "c.jpg", "d.txt", "e.txt"}) {
            pictures.write(name + "/" + file, "x");
        }
        pictures.makeFolder(name + "/inner");
        return pictures / name + "/";
    }

    static QString panel(const TForm1& window, int index)
    {
        return window.controls().StatusPanels[index]->text();
    }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
};

TEST_F(MainWindowTest, FirstStartShowsTheFirstStartValues)
{
    auto window = open();
    const FormControls& c = window->controls();
    EXPECT_EQ(window->windowTitle(), "Vimbrel");
    EXPECT_EQ(window->pos(), QPoint(100, 100));
    EXPECT_EQ(window->size(), QSize(400, 350));
    EXPECT_EQ(c.Page->currentWidget(), c.TabPath);
    EXPECT_EQ(c.TreeDrive->currentIndex(), c.TreeDrive->rootItem());
    EXPECT_EQ(panel(*window, 0), "File");
    EXPECT_EQ(panel(*window, 1), "");
    EXPECT_EQ(panel(*window, 2), "Path");
    EXPECT_EQ(panel(*window, 3), "");
    EXPECT_EQ(window->SelectedFolder(), "");
    EXPECT_FALSE(c.BtnFdr->isEnabled());
    EXPECT_EQ(c.LblSample->text(), "Sample0001.TXT");
    EXPECT_TRUE(c.ChkDel->isChecked());
    EXPECT_TRUE(c.ChkAutoNum->isChecked());
    EXPECT_EQ(c.EditTime1->displayText(), "  1.0");
    EXPECT_EQ(c.EditTime2->displayText(), " 10.0");
    EXPECT_EQ(c.EditTime3->displayText(), "  0.2");
    EXPECT_EQ(c.MemoPIC->toPlainText(), "JPEG\nJPG\nGIF\nBMP");
    EXPECT_EQ(c.MemoMov->toPlainText(), "AVI");
    EXPECT_TRUE(c.MemoMov->isHidden());
    EXPECT_FALSE(c.MemoMov->isEnabled());
    EXPECT_TRUE(c.RdoFile->isChecked());
    EXPECT_TRUE(c.RdoFNon->isChecked());
    EXPECT_TRUE(c.RdoAsc->isChecked());
    EXPECT_TRUE(c.RdoNormal->isChecked());
    EXPECT_TRUE(c.RdoSumType1->isChecked());
    EXPECT_FALSE(c.ChkFSel->isChecked());
    EXPECT_EQ(c.Page->tabPosition(), QTabWidget::South);
    EXPECT_EQ(c.TreeDrive->indentation(), 19);
    EXPECT_FALSE(c.TreeDrive->rootIsDecorated());
}

TEST_F(MainWindowTest, ResizingGrowsTheTreeAndKeepsTheBarsHeights)
{
    auto window = open();
    window->show();
    const FormControls& c = window->controls();
    const QSize tree = c.TreeDrive->size();
    const QRect sample = c.LblSample->geometry();
    const int statusHeight = c.Status->height();
    window->resize(600, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.Bar->height(), 25);
    EXPECT_EQ(c.Bar->width(), 600);
    EXPECT_EQ(c.Status->height(), statusHeight);
    EXPECT_EQ(c.TreeDrive->size(), tree + QSize(200, 150));
    EXPECT_EQ(c.LblSample->geometry(), sample);
}

TEST_F(MainWindowTest, EveryControlCanBeFoundByItsNameWithItsCaption)
{
    auto window = open();
    const std::pair<const char*, const char*> captioned[] = {
        {"BtnShow", "表示"},
        {"BtnVer", "Ver"},
        {"BtnHelp", "Help"},
        {"RdoFile", "ファイル名"},
        {"RdoNum", "番号"},
        {"RdoPic", "画像"},
        {"RdoFNon", "作らない"},
        {"RdoFDwon", "選択フォルダ直下"},
        {"RdoFWork", "work内"},
        {"RdoFETC", "任意"},
        {"BtnFdr", "指定"},
        {"ChkFSub", "差分作成"},
        {"RdoAsc", "ファイル名 昇順"},
        {"RdoDesc", "ファイル名 降順"},
        {"ChkSumName", "ファイル名表示"},
        {"RdoSumType1", "Type1"},
        {"RdoSumType2", "Type2"},
        {"RdoNormal", "標準"},
        {"RdoMax", "最大"},
        {"ChkFSel", "画像ファイルを絞る"},
        {"ChkDel", "終了後ﾌｧｲﾙを削除"},
        {"ChkFile", "ファイル名をリネームする"},
        {"ChkZero", "ZEROサプレスする"},
        {"ChkAutoNum", "自動"},
        {"ChKRead", "読み取り専用ファイルは解除する"},
        {"ChkDirs", "選択フォルダ配下も行う "},
        {"BtnExec", "実行"},
        {"BtnUndo", "元に戻す"},
    };
    for (const auto& [name, caption] : captioned) {
        auto* button = window->findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << name;
    }
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "タイマー１"},
        {"Label2", "タイマー２"},
        {"Label3", "タイマー３"},
        {"Label11", "秒"},
        {"Label9", "静止画 拡張子"},
        {"Label10", "動画 拡張子"},
        {"Label7", "[テスト] TEST.TXT ==>"},
        {"Label4", "ファイル名"},
        {"Label5", "＋"},
        {"Label6", "桁"},
    };
    for (const auto& [name, caption] : labels) {
        auto* label = window->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), QString::fromUtf8(caption)) << name;
    }
    const std::pair<const char*, const char*> groups[] = {
        {"GroupBox1", "メニュー表示方法"}, {"BoxSmall", "小画像作成"},
        {"GroupBox2", "メニュー表示順"},   {"GroupBox3", "画像表示間隔"},
        {"GroupBox5", "サムネイル"},       {"GroupBox4", "IE 起動"},
    };
    for (const auto& [name, caption] : groups) {
        auto* group = window->findChild<QGroupBox*>(name);
        ASSERT_NE(group, nullptr) << name;
        EXPECT_EQ(group->title(), QString::fromUtf8(caption)) << name;
    }
    const FormControls& c = window->controls();
    const char* tabs[] = {"場所", "表示", "機能", "その他"};
    ASSERT_EQ(c.Page->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.Page->tabText(i), QString::fromUtf8(tabs[i]));
    }
    for (QToolButton* button : {c.BtnShow, c.BtnVer, c.BtnHelp, c.BtnFdr, c.BtnExec, c.BtnUndo}) {
        EXPECT_TRUE(button->autoRaise()) << button->objectName().toStdString();
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
    }
    EXPECT_EQ(c.SpinFCnt->minimum(), 1);
    EXPECT_EQ(c.SpinFCnt->maximum(), 9999);
    EXPECT_EQ(c.SpinKeta->minimum(), 0);
    EXPECT_EQ(c.SpinKeta->maximum(), 9);
}

TEST_F(MainWindowTest, ChoosingAFolderCountsItsFilesAsChkFSelStandsAtThatMoment)
{
    const std::string folder = makePictureFolder("set");
    auto window = open();
    window->SelectTreePath(captionsOf(folder));
    EXPECT_EQ(window->SelectedFolder(), folder);
    EXPECT_EQ(window->TreePath(), captionsOf(folder));
    EXPECT_EQ(panel(*window, 3).toStdString(), folder);
    EXPECT_EQ(panel(*window, 1), "5");

    // The count waits for the next choice.
    window->controls().ChkFSel->click();
    EXPECT_EQ(panel(*window, 1), "5");
    window->controls().TreeDrive->setCurrentIndex(window->controls().TreeDrive->rootItem());
    window->SelectTreePath(captionsOf(folder));
    EXPECT_EQ(panel(*window, 1), "3");
    window->controls().ChkFSel->click();
    EXPECT_EQ(panel(*window, 1), "3");
}

// `vimbrel FOLDER`: the folder is found in the tree through the place that
// holds it and chosen, as if picked; its captions become the tree path.
TEST_F(MainWindowTest, AStartFolderIsChosenInTheTreeWithItsCaptions)
{
    const std::string folder = makePictureFolder("given");
    auto window = open();
    window->StartWithFolder(folder.substr(0, folder.size() - 1));
    EXPECT_EQ(window->SelectedFolder(), folder);
    EXPECT_EQ(window->TreePath(), captionsOf(folder));
    const FolderTree* tree = window->controls().TreeDrive;
    EXPECT_EQ(tree->folderPath(tree->selectedItem()) + "/", folder);
    EXPECT_EQ(panel(*window, 1), "5");
}

TEST_F(MainWindowTest, LowerCaseExtensionsMatchOnlyOnceACommandCleanedThem)
{
    pictures.write("low/x.png", "x");
    pictures.write("low/y.txt", "x");
    auto window = open();
    const FormControls& c = window->controls();
    c.MemoPIC->setPlainText(" png \n");
    c.ChkFSel->setChecked(true);
    window->SelectTreePath(captionsOf(pictures / "low"));
    EXPECT_EQ(panel(*window, 1), "0");

    // The rename command cleans the lists before its guard stops it.
    c.ChkFile->setChecked(false);
    c.ChKRead->setChecked(false);
    window->BtnExecClick();
    ASSERT_EQ(desktop.messages, std::vector<std::string>{"チェックがありません"});
    EXPECT_EQ(c.MemoPIC->toPlainText(), "PNG");
    c.TreeDrive->setCurrentIndex(c.TreeDrive->rootItem());
    window->SelectTreePath(captionsOf(pictures / "low"));
    EXPECT_EQ(panel(*window, 1), "1");
}

TEST_F(MainWindowTest, StoredCaptionsThatNoLongerMatchChooseNoFolder)
{
    pictures.makeFolder("kept");
    auto window = open();
    std::vector<std::string> path = captionsOf(pictures / "kept");
    path.back() = "renamed";
    window->SelectTreePath(path);
    EXPECT_EQ(window->SelectedFolder(), "");
    FolderTree* tree = window->controls().TreeDrive;
    EXPECT_EQ(tree->currentIndex(), tree->rootItem());
    // The matching part of the path was opened on the way.
    QModelIndex matched = tree->rootItem();
    for (const std::string& caption : captionsOf(pictures.path())) {
        matched = tree->folderModel()->childByCaption(matched, caption);
    }
    ASSERT_TRUE(matched.isValid());
    EXPECT_TRUE(tree->isExpanded(matched));
}

TEST_F(MainWindowTest, BtnFdrIsUsableExactlyWhileTheFreeChoiceIsSelected)
{
    auto window = open();
    const FormControls& c = window->controls();
    c.RdoFETC->click();
    EXPECT_TRUE(c.BtnFdr->isEnabled());
    c.RdoFNon->click();
    EXPECT_FALSE(c.BtnFdr->isEnabled());
    c.RdoFETC->click();
    c.RdoFWork->click();
    EXPECT_FALSE(c.BtnFdr->isEnabled());
}

TEST_F(MainWindowTest, CancellingTheChooserKeepsTheChosenPictureFolder)
{
    const std::string folder = makePictureFolder("set");
    auto window = open();
    window->SelectTreePath(captionsOf(folder));
    window->controls().RdoFETC->click();
    window->controls().BtnFdr->click();
    ASSERT_EQ(desktop.chooserTitles.size(), 1u);
    EXPECT_EQ(desktop.chooserTitles[0], "小画像作成先フォルダを指定してください");
    EXPECT_EQ(desktop.chooserStarts[0], folder.substr(0, folder.size() - 1));
    EXPECT_EQ(window->SmallFolder(), folder);
    EXPECT_EQ(window->controls().BtnFdr->toolTip().toStdString(), folder);
}

TEST_F(MainWindowTest, AChosenSmallFolderGoesWhenAnotherFolderIsChosenButTheHintStays)
{
    const std::string first = makePictureFolder("first");
    const std::string second = makePictureFolder("second");
    const std::string small = pictures.makeFolder("small");
    auto window = open();
    window->SelectTreePath(captionsOf(first));
    window->controls().RdoFETC->click();
    desktop.chooserAnswer = small.substr(0, small.size() - 1);
    window->controls().BtnFdr->click();
    EXPECT_EQ(window->SmallFolder(), small);

    window->SelectTreePath(captionsOf(second));
    EXPECT_EQ(window->SmallFolder(), "");
    EXPECT_EQ(window->controls().BtnFdr->toolTip().toStdString(), small);
}

TEST_F(MainWindowTest, ASmallFolderThatIsGoneIsNotOfferedToTheChooser)
{
    const std::string small = pictures.makeFolder("small");
    auto window = open();
    window->controls().RdoFETC->click();
    desktop.chooserAnswer = small;
    window->controls().BtnFdr->click();
    std::filesystem::remove(small);
    desktop.chooserAnswer.reset();
    window->controls().BtnFdr->click();
    EXPECT_EQ(desktop.chooserStarts.back(), "");
    EXPECT_EQ(window->SmallFolder(), "");
}

TEST_F(MainWindowTest, BtnVerShowsTheSameAboutBoxEachTime)
{
    auto window = open();
    auto* box = new TAboutBox(window.get());
    window->setAboutBox(box);
    window->controls().BtnVer->click();
    window->controls().BtnVer->click();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(window->findChildren<TAboutBox*>().size(), 1);
    EXPECT_FALSE(box->isModal());
    // The main window still takes clicks beside it.
    window->controls().RdoFETC->click();
    EXPECT_TRUE(window->controls().BtnFdr->isEnabled());
}

TEST_F(MainWindowTest, BtnHelpShowsTheAppFoldersHelpFileInOneWindow)
{
    auto window = open();
    window->controls().BtnHelp->click();
    ASSERT_NE(window->helpWindow(), nullptr);
    HelpWindow* help = window->helpWindow();
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->toPlainText().contains("ヘルプファイルが見つかりません。"));

    app.write("Vimbrel.html", "<html><body><p>使い方</p></body></html>");
    window->controls().BtnHelp->click();
    EXPECT_EQ(window->helpWindow(), help);
    EXPECT_TRUE(help->browser()->toPlainText().contains("使い方"));
}

TEST_F(MainWindowTest, BtnExecRenamesTheChosenFolderAndAdvancesTheStartNumber)
{
    for (const char* file : {"b.jpg", "A.jpg", "c.txt"}) {
        pictures.write(std::string("run/") + file, "x");
    }
    auto window = open();
    const FormControls& c = window->controls();
    c.ChkAutoNum->setChecked(false);
    window->SelectTreePath(captionsOf(pictures / "run"));
    c.BtnExec->click();
    EXPECT_TRUE(std::filesystem::exists(pictures / "run/Sample0001.jpg"));
    EXPECT_TRUE(std::filesystem::exists(pictures / "run/Sample0002.jpg"));
    EXPECT_TRUE(std::filesystem::exists(pictures / "run/Sample0003.txt"));
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"3 ファイルを更新しました。"});
    EXPECT_EQ(c.SpinFCnt->value(), 4);
    EXPECT_EQ(c.LblSample->text(), "Sample0004.TXT");
    EXPECT_TRUE(c.TabOther->isEnabled());
}

TEST_F(MainWindowTest, BtnUndoGivesBackTheFolderAsItWasBeforeBtnExec)
{
    pictures.write("run/b.jpg", "b");
    pictures.write("run/A.jpg", "A");
    pictures.write("run/c.txt", "c");
    pictures.write("run/sub/d.jpg", "d");
    ::chmod((pictures / "run/b.jpg").c_str(), 0444);
    const auto listing = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(pictures / "run")) {
            files[entry.path().string()] =
                entry.is_directory() ? "<folder>" : testing::readFile(entry.path());
        }
        return files;
    };
    const auto before = listing();
    auto window = open();
    const FormControls& c = window->controls();
    EXPECT_FALSE(c.BtnUndo->isEnabled()); // no run to take back yet
    c.ChkAutoNum->setChecked(false);
    c.ChkDirs->setChecked(true);
    window->SelectTreePath(captionsOf(pictures / "run"));
    c.BtnExec->click();
    ASSERT_NE(listing(), before);
    EXPECT_TRUE(c.BtnUndo->isEnabled());
    EXPECT_EQ(c.SpinFCnt->value(), 4);

    c.BtnUndo->click();
    EXPECT_EQ(listing(), before);
    struct stat info = {};
    ::stat((pictures / "run/b.jpg").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0444u); // read-only again
    EXPECT_EQ(desktop.messages.back(), "4 ファイルを元に戻しました。");
    EXPECT_FALSE(c.BtnUndo->isEnabled());
    EXPECT_EQ(c.SpinFCnt->value(), 4); // the start number stays

    // A window opened later finds the journal of an earlier session.
    c.BtnExec->click();
    auto later = open();
    EXPECT_TRUE(later->controls().BtnUndo->isEnabled());
}

TEST_F(MainWindowTest, BtnExecWithoutAChosenFolderTouchesNothing)
{
    auto window = open();
    window->BtnExecClick();
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"ファイルがありません。"});
}

TEST_F(MainWindowTest, TheSampleFollowsItsFourControls)
{
    auto window = open();
    const FormControls& c = window->controls();
    c.EditFHead->setText("P");
    EXPECT_EQ(c.LblSample->text(), "P0001.TXT");
    c.SpinFCnt->setValue(12);
    EXPECT_EQ(c.LblSample->text(), "P0012.TXT");
    c.SpinKeta->setValue(3);
    EXPECT_EQ(c.LblSample->text(), "P012.TXT");
    c.ChkZero->click();
    EXPECT_EQ(c.LblSample->text(), "P12.TXT");
}

TEST_F(MainWindowTest, ClosingEmptiesTheWorkFolderOnlyWhenAsked)
{
    const std::string page = app.write("Work/index.htm", "x");
    open().reset();
    EXPECT_FALSE(std::filesystem::exists(page));

    app.write("Work/index.htm", "x");
    auto window = open();
    window->controls().ChkDel->setChecked(false);
    window.reset();
    EXPECT_TRUE(std::filesystem::exists(page));
}

TEST_F(MainWindowTest, RenamingTheChosenFolderInTheTreeMovesTheChosenFolder)
{
    const std::string folder = makePictureFolder("old");
    auto window = open();
    window->SelectTreePath(captionsOf(folder));
    FolderTree* tree = window->controls().TreeDrive;
    ASSERT_TRUE(tree->model()->setData(tree->currentIndex(), QStringLiteral("new")));
    EXPECT_TRUE(std::filesystem::is_directory(pictures / "new"));
    EXPECT_EQ(window->SelectedFolder(), pictures / "new/");
    EXPECT_EQ(window->TreePath(), captionsOf(pictures / "new"));
    EXPECT_EQ(panel(*window, 3).toStdString(), pictures / "new/");
}

TEST_F(MainWindowTest, ARefusedRenameIsReported)
{
    pictures.makeFolder("one");
    pictures.makeFolder("two");
    auto window = open();
    window->SelectTreePath(captionsOf(pictures / "one"));
    FolderTree* tree = window->controls().TreeDrive;
    EXPECT_FALSE(tree->model()->setData(tree->currentIndex(), QStringLiteral("two")));
    QCoreApplication::processEvents(); // the refusal comes queued
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0], "フォルダ名を変更できません。\rPATH=" + pictures / "one/");
    EXPECT_TRUE(std::filesystem::is_directory(pictures / "one"));
    EXPECT_EQ(window->SelectedFolder(), pictures / "one/");
}

TEST_F(MainWindowTest, F5ListsTheSelectedFolderAgain)
{
    pictures.makeFolder("tree/old");
    auto window = open();
    window->show();
    const FormControls& c = window->controls();
    window->SelectTreePath(captionsOf(pictures / "tree"));
    FolderTreeModel* model = c.TreeDrive->folderModel();
    const QModelIndex tree = c.TreeDrive->currentIndex();
    ASSERT_EQ(model->folderPath(tree), pictures / "tree");
    if (model->canFetchMore(tree)) {
        model->fetchMore(tree);
    }
    ASSERT_EQ(model->rowCount(tree), 1);
    pictures.makeFolder("tree/new");
    c.TreeDrive->setFocus();
    QTest::keyClick(c.TreeDrive, Qt::Key_F5);
    EXPECT_EQ(model->rowCount(tree), 2);
}

TEST_F(MainWindowTest, NoControlTouchesAFrameOrTheWindowsEdge)
{
    auto window = open();
    window->show();
    QCoreApplication::processEvents();
    const FormControls& c = window->controls();
    // Inside each group box, every control keeps clear of the frame.
    for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
        for (QWidget* child :
             group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect place = child->geometry();
            EXPECT_LE(place.right(), group->width() - 4)
                << child->objectName().toStdString() << " in " << group->objectName().toStdString();
            EXPECT_GE(place.left(), 3) << child->objectName().toStdString();
            EXPECT_LE(place.bottom(), group->height() - 3) << child->objectName().toStdString();
        }
    }
    // The status bar's boxes keep clear of the window's edges.
    for (QLabel* panel : c.StatusPanels) {
        const QRect place(panel->mapTo(window.get(), QPoint(0, 0)), panel->size());
        EXPECT_LE(place.bottom(), window->height() - 3) << panel->objectName().toStdString();
        EXPECT_LE(place.right(), window->width() - 3) << panel->objectName().toStdString();
        EXPECT_GE(place.left(), 2) << panel->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, ARightClickSelectsTheItemAndOffersItsFolder)
{
    const std::string folder = makePictureFolder("menu");
    auto window = open();
    window->SelectTreePath(captionsOf(pictures.path()));
    FolderTree* tree = window->controls().TreeDrive;
    window->show();
    const QModelIndex item = tree->folderModel()->childByCaption(tree->currentIndex(), "menu");
    tree->scrollTo(item);
    const QPoint where = tree->visualRect(item).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, where, tree->viewport()->mapToGlobal(where));
    QCoreApplication::sendEvent(tree->viewport(), &event);
    EXPECT_EQ(window->SelectedFolder(), folder);
    ASSERT_TRUE(tree->contextMenu()->isVisible());
    tree->contextMenu()->actions().front()->trigger();
    tree->contextMenu()->hide();
    EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{pictures / "menu"});
}

} // namespace
} // namespace vimbrel
