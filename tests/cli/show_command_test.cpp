#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_metafiles.h"

namespace vimbrel::testing {
namespace {

class CliShow : public ::testing::Test
{
protected:
    int run(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return cli::runShow(args, root / "program/", {out, err});
    }

    TempFolder root;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliShow, PrintsThePathOfTheViewer)
{
    root.write("pics/a.jpg", "data");
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 0);
    EXPECT_EQ(out.str(), root / "app/Work/index.htm\n");
    EXPECT_EQ(err.str(), "");
    for (const char* page : {"index.htm", "menu.htm", "btns.htm", "main.htm", "sum_frame.htm",
                             "sum_head.htm", "sum_main.htm"}) {
        EXPECT_TRUE(fs::isFile(root / "app/Work/" + page)) << page;
    }
}

TEST_F(CliShow, TheAppFolderIsTheProgramsByDefault)
{
    root.makeFolder("program");
    root.write("pics/a.jpg", "data");
    EXPECT_EQ(run({root / "pics/"}), 0);
    EXPECT_EQ(out.str(), root / "program/Work/index.htm\n");
}

TEST_F(CliShow, MessagesGoToTheErrorStreamWithLineBreaks)
{
    EXPECT_EQ(run({root / "gone", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "選択したフォルダが存在しません\nPATH=" + root / "gone/\n");

    root.makeFolder("empty/sub");
    EXPECT_EQ(run({root / "empty", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(err.str(), "ファイルがありません\n");

    root.write("blocked/Work", "a file where the Work folder belongs");
    EXPECT_EQ(run({root / "empty", "--app-folder", root / "blocked"}), 1);
    EXPECT_EQ(err.str(), "ワーク領域が作成できません\n");
}

TEST_F(CliShow, APictureSkippedForEndlessDrawingIsNamedAndTheRunGoesOn)
{
    // Small images in Work/; the metafile would keep any raster engine
    // filling for minutes.
    root.write("app/Vimbrel.INI", "[MENU]\r\nSMALL_POS=2\r\n");
    root.write("pics/zigzag.emf", zigZagEmf(20000, 2000, true));
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 0);
    EXPECT_EQ(out.str(), root / "app/Work/index.htm\n");
    EXPECT_EQ(err.str(), "描画に時間がかかりすぎるため小画像を作らなかったファイル: zigzag.emf\n");
    EXPECT_FALSE(fs::isFile(root / "app/Work/zigzag.jpg"));
}

TEST_F(CliShow, AnEmptyFolderArgumentIsNoFolderChosen)
{
    EXPECT_EQ(run({"", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(err.str(), "フォルダが選択されてません\n");
}

TEST_F(CliShow, APageThatCannotBeWrittenIsAnError)
{
    root.write("pics/a.jpg", "data");
    root.makeFolder("app/Work/menu.htm");
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "I/O エラー (" + std::to_string(sys::error::kIsFolder) + ")\n");
    EXPECT_TRUE(fs::isFile(root / "app/Work/index.htm"));
}

TEST_F(CliShow, WrongArgumentsShowTheUsage)
{
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"a", "b"},
        {"a", "--app-folder"},
        {"a", "--app-folder", "x", "--app-folder", "y"},
        {"a", "--bogus"},
        {"a", "--serve", "--open"},
        {"a", "--serve", "--serve"},
    };
    for (const auto& args : wrong) {
        EXPECT_EQ(run(args), 2) << args.size();
        EXPECT_EQ(err.str(), cli::kUsage);
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(CliShow, ServingStartsOnlyAfterASuccessfulShow)
{
    // The Show run stops with its message, so nothing is served and the
    // command ends at once.
    for (const char* after : {"--serve", "--open"}) {
        EXPECT_EQ(run({root / "missing", after, "--app-folder", root / "app"}), 1) << after;
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), "選択したフォルダが存在しません\nPATH=" + root / "missing/\n");
    }
}

TEST_F(CliShow, OptionsComeFromTheSettingsFile)
{
    root.write("pics/a.jpg", "data");
    root.write("app/Vimbrel.INI", "[MENU]\nTIME1=  25\n");
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 0);
    EXPECT_NE(readFile(root / "app/Work/index.htm").find("  var interval =2500;"),
              std::string::npos);

    root.write("app/Vimbrel.INI", "[MENU]\nSMALL_POS=3\nSMALL_PATH=" + root / "pics" + "\n");
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(err.str(),
              "「小画像作成先フォルダ」と「選択フォルダ」が同じになっています。\n\nPATH=" +
                  root / "pics/\n");

    root.write("app/Vimbrel.INI", "[MENU]\nSMALL_POS=3\n");
    EXPECT_EQ(run({root / "pics", "--app-folder", root / "app"}), 1);
    EXPECT_EQ(err.str(),
              "「小画像作成先フォルダ」が選択されてません。\n\nPATH=" + root / "pics/\n");
}

// The program itself, with a picture folder named relative to where it runs.
TEST(CliShowProgram, MakesARelativeFolderAbsolute)
{
    const char* fromEnvironment = std::getenv("VIMBREL_APP_FOLDER");
    const std::string appFolder = fromEnvironment != nullptr && *fromEnvironment != '\0'
                                      ? fromEnvironment
                                      : VIMBREL_APP_FOLDER_PATH;
    TempFolder root;
    root.write("pics/a b.jpg", "data");
    const ScopedCurrentFolder inRoot(root.path());
    const std::string command = shellQuoted(fs::withSeparator(appFolder) + "vimbrel-cli") +
                                " show pics --app-folder app >out 2>err";
    EXPECT_EQ(std::system(command.c_str()), 0) << readFile(root / "err");
    EXPECT_EQ(readFile(root / "out"), root / "app/Work/index.htm\n");
    EXPECT_NE(readFile(root / "app/Work/main.htm").find("<IMG SRC=\"../../pics/a b.jpg\""),
              std::string::npos);
}

} // namespace
} // namespace vimbrel::testing
