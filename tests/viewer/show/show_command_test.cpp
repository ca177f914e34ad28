#include "viewer/show/show_command.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::testing {
namespace {

const char* const kPages[] = {"index.htm",     "menu.htm",     "btns.htm",    "main.htm",
                              "sum_frame.htm", "sum_head.htm", "sum_main.htm"};

// A picture folder "pics/" and an app folder "app/" side by side.
class ShowCommand : public ::testing::Test
{
protected:
    std::string pics() const { return root / "pics/"; }
    std::string app() const { return root / "app/"; }
    std::string work() const { return root / "app/Work/"; }

    void addPicture(const std::string& name, int width = 200, int height = 150) const
    {
        root.makeFolder("pics");
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QString::fromStdString(pics() + name), "BMP"));
    }
    void addFile(const std::string& name) const { root.write("pics/" + name, "data"); }

    void show(const std::string& folder) { BtnShowClick(options, folder, app(), state, ui); }
    void show() { show(pics()); }

    std::map<std::string, std::string> pages() const
    {
        std::map<std::string, std::string> content;
        for (const char* page : kPages) {
            content[page] = readFile(work() + page);
        }
        return content;
    }
    std::string page(const std::string& name) const { return pageText(work() + name); }

    // A finished earlier run whose pages a later run must leave alone.
    std::map<std::string, std::string> earlierRun()
    {
        addPicture("old.bmp");
        show();
        EXPECT_EQ(ui.opened.size(), 1u);
        ui = RecordingInterface();
        root.makeFolder("pics/sub");
        EXPECT_EQ(::unlink((pics() + "old.bmp").c_str()), 0);
        return pages();
    }

    TempFolder root;
    Options options;
    ShowState state;
    RecordingInterface ui;
};

TEST_F(ShowCommand, WritesTheSevenPagesAndOpensTheViewer)
{
    for (const char* name : {"c.jpg", "a.jpg", "b.jpg"}) {
        addFile(name);
    }
    show();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.counts, std::vector<int>{3});
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(page("index.htm"), expectedPage("index.htm"));
    EXPECT_EQ(page("btns.htm"), expectedPage("btns.htm"));
    EXPECT_EQ(page("sum_frame.htm"), expectedPage("sum_frame.htm"));
    EXPECT_EQ(page("sum_main.htm"), expectedPage("sum_main.htm"));
    EXPECT_NE(page("main.htm").find("    <IMG SRC=\"../../pics/a.jpg\" NAME=\"PIC\">\r\n"),
              std::string::npos);
    EXPECT_EQ(pageLines(page("menu.htm")).size(), 14u);
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0].indexPath, work() + "index.htm");
    EXPECT_EQ(ui.opened[0].workFolder, work());
    EXPECT_EQ(ui.opened[0].pictureFolder, pics());
    EXPECT_EQ(ui.opened[0].smallFolder, "");
    EXPECT_FALSE(ui.maximised);
}

TEST_F(ShowCommand, MaximisedWhenNotNormal)
{
    addFile("a.jpg");
    options.select(&Options::RdoMax);
    show();
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_TRUE(ui.maximised);
}

TEST_F(ShowCommand, NoFolderChosenStillCleansTheExtensionLists)
{
    options.MemoPIC = {" jpg ", "", "\tpng"};
    options.MemoMov = {"  "};
    show("");
    EXPECT_EQ(ui.messages, std::vector<std::string>{"フォルダが選択されてません"});
    EXPECT_EQ(options.MemoPIC, (std::vector<std::string>{"JPG", "PNG"}));
    EXPECT_TRUE(options.MemoMov.empty());
    EXPECT_TRUE(ui.counts.empty());
    EXPECT_FALSE(fs::isDirectory(work()));
}

TEST_F(ShowCommand, MissingFolderNamesItsPath)
{
    show(root / "gone/");
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"選択したフォルダが存在しません\rPATH=" + root / "gone/"});
    EXPECT_FALSE(fs::isDirectory(work()));
}

TEST_F(ShowCommand, WorkFolderBlockedByAFile)
{
    addFile("a.jpg");
    root.write("app/Work", "a file where the folder belongs");
    show();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"ワーク領域が作成できません"});
    EXPECT_TRUE(ui.counts.empty());
}

TEST_F(ShowCommand, MissingAppFolderIsCreatedWithItsParents)
{
    addFile("a.jpg");
    BtnShowClick(options, pics(), root / "deep/er/app/", state, ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::isFile(root / "deep/er/app/Work/sum_main.htm"));
    EXPECT_NE(pageText(root / "deep/er/app/Work/main.htm").find("SRC=\"../../../../pics/a.jpg\""),
              std::string::npos);
}

TEST_F(ShowCommand, NoFilesLeavesTheEarlierPages)
{
    const auto before = earlierRun();
    show();
    EXPECT_EQ(ui.counts, std::vector<int>{0});
    EXPECT_EQ(ui.messages, std::vector<std::string>{"ファイルがありません"});
    EXPECT_TRUE(state.ImageNames.empty());
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_EQ(pages(), before);
}

TEST_F(ShowCommand, FilterTakesOnlyPictureExtensions)
{
    for (const char* name : {"photo.jpg", "b.JPEG", "notes.txt", "README", "c.png"}) {
        addFile(name);
    }
    options.ChkFSel = true;
    options.MemoPIC = {"  jpg ", "JPEG"};
    show();
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{"b.JPEG", "photo.jpg"}));
    EXPECT_EQ(ui.counts, std::vector<int>{2});
}

TEST_F(ShowCommand, FilterThatTakesNothingStops)
{
    addFile("notes.txt");
    options.ChkFSel = true;
    show();
    EXPECT_EQ(ui.counts, std::vector<int>{0});
    EXPECT_EQ(ui.messages, std::vector<std::string>{"ファイルがありません"});
}

TEST_F(ShowCommand, WithoutTheFilterEveryFileIsTakenButNoFolder)
{
    for (const char* name : {".hidden", "notes.txt", "README"}) {
        addFile(name);
    }
    root.makeFolder("pics/sub.jpg");
    ASSERT_EQ(::symlink((root / "pics/sub.jpg").c_str(), (root / "pics/link").c_str()), 0);
    show();
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{".hidden", "notes.txt", "README"}));
}

TEST_F(ShowCommand, SortIgnoresCase)
{
    for (const char* name : {"C.jpg", "b.jpg", "A.jpg"}) {
        addFile(name);
    }
    show();
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{"A.jpg", "b.jpg", "C.jpg"}));
}

TEST_F(ShowCommand, DescendingIsAscendingReadBackwards)
{
    options.select(&Options::RdoDesc);
    addFile("a.jpg");
    show();
    EXPECT_EQ(state.ImageNames, std::vector<std::string>{"a.jpg"});
    addFile("b.jpg");
    show();
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{"b.jpg", "a.jpg"}));
    addFile("c.jpg");
    addFile("d.jpg");
    show();
    EXPECT_EQ(state.ImageNames, (std::vector<std::string>{"d.jpg", "c.jpg", "b.jpg", "a.jpg"}));
    EXPECT_NE(page("main.htm").find("pics/d.jpg\""), std::string::npos);
}

TEST_F(ShowCommand, NamesCodePage932CannotHoldStillGiveEveryPage)
{
    addFile("bad\xFF.jpg");
    addFile("smile\xF0\x9F\x98\x80.jpg");
    show();
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(state.ImageNames.size(), 2u);
    for (const char* name : kPages) {
        EXPECT_FALSE(pageLines(page(name)).empty()) << name;
    }
}

TEST_F(ShowCommand, BlankIntervalIsATenthOfASecond)
{
    addFile("a.jpg");
    options.EditTime1 = "";
    options.EditTime2 = "  5";
    options.EditTime3 = " 1 2";
    show();
    const std::vector<std::string> lines = pageLines(page("index.htm"));
    ASSERT_EQ(lines.size(), 270u);
    EXPECT_EQ(lines[15], "  var interval =100;    // タイマー間隔");
    EXPECT_EQ(lines[229], "      case 1: interval=100; break;");
    EXPECT_EQ(lines[230], "      case 2: interval=500; break;");
    EXPECT_EQ(lines[231], "      case 3: interval=100; break;");
    EXPECT_NE(page("btns.htm").find("ALT=\"入替時間=0.5 秒\""), std::string::npos);
}

TEST_F(ShowCommand, TheWorkFolderAsPictureFolderIsReachedAsDot)
{
    root.write("app/Work/a.jpg", "data");
    show(work());
    EXPECT_NE(page("main.htm").find("<IMG SRC=\"./a.jpg\""), std::string::npos);
}

TEST_F(ShowCommand, ChosenSmallFolderMustDifferFromThePictureFolder)
{
    const auto before = earlierRun();
    addPicture("a.bmp");
    options.select(&Options::RdoFETC);
    const std::string expected = "「小画像作成先フォルダ」と「選択フォルダ」が同じになっています。"
                                 "\r\rPATH=" +
                                 pics();
    options.SmallFolder = pics();
    show();
    // The same folder under another spelling: through a link, and without "/".
    ASSERT_EQ(::symlink(pics().c_str(), (root / "alias").c_str()), 0);
    options.SmallFolder = root / "alias/";
    show();
    options.SmallFolder = root / "pics";
    show();
    EXPECT_EQ(ui.messages, std::vector<std::string>(3, expected));
    EXPECT_EQ(ui.counts, std::vector<int>(3, 1));
    EXPECT_EQ(state.ImageNames, std::vector<std::string>{"a.bmp"});
    EXPECT_FALSE(fs::isFile(pics() + "a.jpg"));
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_EQ(pages(), before);
}

TEST_F(ShowCommand, ChosenSmallFolderMustBeSet)
{
    addPicture("a.bmp");
    options.select(&Options::RdoFETC);
    show();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"「小画像作成先フォルダ」が選択されてません。"
                                                    "\r\rPATH=" +
                                                    pics()});
    EXPECT_FALSE(fs::isFile(work() + "index.htm"));
}

TEST_F(ShowCommand, SmallImagesNeverGoIntoThePictureFolderThroughWork)
{
    root.makeFolder("app/Work");
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(work() + "a.jpg"), "BMP"));
    const std::string before = readFile(work() + "a.jpg");
    options.select(&Options::RdoFWork);
    show(work());
    EXPECT_EQ(
        ui.messages,
        std::vector<std::string>{
            "「小画像作成先フォルダ」と「選択フォルダ」が同じになっています。\r\rPATH=" + work()});
    EXPECT_EQ(readFile(work() + "a.jpg"), before);
    EXPECT_TRUE(ui.opened.empty());
}

TEST_F(ShowCommand, SmallImagesBesideThePictures)
{
    addPicture("wide.bmp", 300, 100);
    addPicture("narrow.bmp", 80, 80);
    options.select(&Options::RdoFDwon);
    show();
    ASSERT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::isFile(pics() + "img_s/wide.jpg"));
    EXPECT_FALSE(fs::isFile(pics() + "img_s/narrow.jpg"));
    EXPECT_EQ(state.SmallNames, (std::vector<std::string>{"", "wide.jpg"}));
    const std::vector<std::string> frame = pageLines(page("sum_frame.htm"));
    ASSERT_EQ(frame.size(), 88u);
    EXPECT_EQ(frame[17], "var spath    =\"../../pics/img_s/\";       // 小画像ファイルパス");
    EXPECT_EQ(frame[22], std::string(23, ' ') + "\"\" ,\"wide.jpg\"" + std::string(21, ' ') + ");");
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0].smallFolder, pics() + "img_s/");
}

TEST_F(ShowCommand, SmallFolderBesideThePicturesBlockedByAFile)
{
    addPicture("a.bmp");
    addFile("img_s");
    options.select(&Options::RdoFDwon);
    show();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"ワーク領域が作成できません"});
    EXPECT_FALSE(fs::isFile(work() + "index.htm"));
}

TEST_F(ShowCommand, SmallImagesInTheWorkFolderAreReachedAsDot)
{
    addPicture("a.bmp");
    options.select(&Options::RdoFWork);
    options.select(&Options::RdoPic);
    show();
    ASSERT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::isFile(work() + "a.jpg"));
    EXPECT_NE(page("menu.htm").find("<TR><TD><IMG SRC=\"./a.jpg\" WIDTH=60"), std::string::npos);
    EXPECT_NE(page("sum_frame.htm").find("var spath    =\"./\";"), std::string::npos);
}

TEST_F(ShowCommand, SmallImagesInTheChosenFolder)
{
    addPicture("a.bmp");
    const std::string small = root.makeFolder("small");
    options.select(&Options::RdoFETC);
    options.SmallFolder = small;
    show();
    ASSERT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::isFile(small + "a.jpg"));
    EXPECT_NE(page("sum_frame.htm").find("var spath    =\"../../small/\";"), std::string::npos);
}

TEST_F(ShowCommand, StoppedSmallImagesWriteNoPage)
{
    const auto before = earlierRun();
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        addPicture(name);
    }
    options.select(&Options::RdoFWork);
    ui.stopAfter = 0;
    EXPECT_FALSE(BuildViewer(options, pics(), work(), state, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.opened.empty());
    for (const char* name : kPages) {
        EXPECT_EQ(readFile(work() + name), before.at(name)) << name;
    }
}

TEST_F(ShowCommand, BuildViewerTellsWhetherTheViewerWasOpened)
{
    root.makeFolder("app/Work");
    root.makeFolder("pics");
    EXPECT_FALSE(BuildViewer(options, pics(), work(), state, ui));
    addFile("a.jpg");
    EXPECT_TRUE(BuildViewer(options, pics(), work(), state, ui));
}

// Page writes fail for the file whose name ends in gFailingPage.
const char* gFailingPage = "";
int gFailingFd = -1;
int gOpenError = 0;

bool isFailingPage(const char* path)
{
    const size_t length = std::strlen(path);
    const size_t suffix = std::strlen(gFailingPage);
    return length >= suffix && std::strcmp(path + length - suffix, gFailingPage) == 0;
}

int openFailing(const char* path, sys::OpenFor how)
{
    if (isFailingPage(path) && gOpenError != 0) {
        return sys::fail(gOpenError);
    }
    const int fd = sys::ScopedCalls::real().open(path, how);
    if (isFailingPage(path)) {
        gFailingFd = fd;
    }
    return fd;
}

std::ptrdiff_t writeFailing(int fd, const void* data, size_t size)
{
    if (fd == gFailingFd) {
        return sys::fail(sys::error::kDiskFull);
    }
    return sys::ScopedCalls::real().write(fd, data, size);
}

class ShowCommandFailure : public ShowCommand
{
protected:
    void showFailing(const char* page, int openError)
    {
        gFailingPage = page;
        gFailingFd = -1;
        gOpenError = openError;
        sys::Calls calls = sys::ScopedCalls::real();
        calls.open = openFailing;
        calls.write = writeFailing;
        sys::ScopedCalls scoped(calls);
        addPicture("new.bmp");
        try {
            show();
            ADD_FAILURE() << "no file error";
        } catch (const FileError& error) {
            message = error.what();
        }
    }

    std::string message;
};

TEST_F(ShowCommandFailure, FullDiskKeepsThePagesBeforeAndAfter)
{
    const auto before = earlierRun();
    showFailing("/btns.htm", 0);
    EXPECT_EQ(message, "ディスクがいっぱいです");
    EXPECT_TRUE(ui.opened.empty());
    const auto after = pages();
    EXPECT_NE(after.at("index.htm"), before.at("index.htm"));
    EXPECT_NE(after.at("index.htm").find("\"new.bmp\""), std::string::npos);
    EXPECT_NE(after.at("menu.htm"), before.at("menu.htm"));
    EXPECT_EQ(after.at("btns.htm"), "");
    for (const char* name : {"main.htm", "sum_frame.htm", "sum_head.htm", "sum_main.htm"}) {
        EXPECT_EQ(after.at(name), before.at(name)) << name;
    }
}

TEST_F(ShowCommandFailure, AccessDeniedStopsAtThatPage)
{
    const auto before = earlierRun();
    showFailing("/sum_head.htm", EACCES);
    EXPECT_EQ(message, "ファイルへのアクセスが拒否されました");
    EXPECT_TRUE(ui.opened.empty());
    const auto after = pages();
    EXPECT_NE(after.at("sum_frame.htm"), before.at("sum_frame.htm"));
    EXPECT_EQ(after.at("sum_head.htm"), before.at("sum_head.htm"));
    EXPECT_EQ(after.at("sum_main.htm"), before.at("sum_main.htm"));
}

TEST_F(ShowCommand, AFolderInThePlaceOfAPageIsAnIoError)
{
    const auto before = earlierRun();
    ASSERT_EQ(::unlink((work() + "main.htm").c_str()), 0);
    root.makeFolder("app/Work/main.htm");
    addPicture("new.bmp");
    try {
        show();
        ADD_FAILURE() << "no file error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "I/O エラー (" + std::to_string(EISDIR) + ")");
    }
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_NE(readFile(work() + "btns.htm"), "");
    EXPECT_EQ(readFile(work() + "sum_frame.htm"), before.at("sum_frame.htm"));
}

} // namespace
} // namespace vimbrel::testing
