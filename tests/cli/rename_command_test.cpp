#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "rename/journal_line.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::cli {
namespace {

using vimbrel::testing::readFile;
using vimbrel::testing::TempFolder;

struct Outcome
{
    int code;
    std::string out;
    std::string err;
};

Outcome rename(const std::vector<std::string>& args, const std::string& programFolder)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = runRename(args, programFolder, Streams{out, err});
    return {code, out.str(), err.str()};
}

TEST(RenameCommandTest, RenamesTheFolderAndReportsTheStartNumber)
{
    TempFolder app;
    TempFolder pictures;
    pictures.write("b.jpg", "b");
    pictures.write("A.jpg", "A");
    pictures.write("c.txt", "c");
    const Outcome outcome = rename({pictures.path(), "--app-folder", app.path()}, "/nowhere/");
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out, "3 ファイルを更新しました。\nCOUNT=1\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(readFile(pictures / "Sample0001.jpg"), "A");
    EXPECT_EQ(readFile(pictures / "Sample0003.txt"), "c");

    const Outcome again = rename({pictures.path()}, app.path());
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "ファイルがありません。\nCOUNT=1\n");
}

TEST(RenameCommandTest, OptionsComeFromTheSettingsFile)
{
    TempFolder app;
    TempFolder pictures;
    pictures.write("a.jpg", "a");
    pictures.write("b.jpg", "b");
    app.write("Vimbrel.INI", "[OTHER]\r\nAUTO=0\r\nCOUNT=5\r\nHEAD=pic\r\nZERO=0\r\n");
    const Outcome outcome = rename({"--app-folder", app.path(), pictures.path()}, "/nowhere/");
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out, "2 ファイルを更新しました。\nCOUNT=7\n");
    EXPECT_EQ(readFile(pictures / "pic5.jpg"), "a");
    EXPECT_EQ(readFile(pictures / "pic6.jpg"), "b");
    // Only `settings --write` writes the settings file.
    EXPECT_EQ(readFile(app / "Vimbrel.INI"),
              "[OTHER]\r\nAUTO=0\r\nCOUNT=5\r\nHEAD=pic\r\nZERO=0\r\n");
}

TEST(RenameCommandTest, GuardMessageGoesToTheErrorStream)
{
    TempFolder app;
    TempFolder pictures;
    pictures.write("a.jpg", "a");
    app.write("Vimbrel.INI", "[OTHER]\nRENAME=0\nREAD=0\n");
    const Outcome outcome = rename({pictures.path()}, app.path());
    EXPECT_EQ(outcome.code, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "チェックがありません\n");
    EXPECT_EQ(readFile(pictures / "a.jpg"), "a");
}

TEST(RenameCommandTest, RelativeFolderIsTakenFromTheCurrentFolder)
{
    TempFolder temp;
    temp.write("pics/a.jpg", "a");
    temp.write("b.jpg", "b");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    const Outcome outcome = rename({"pics"}, temp.path());
    std::filesystem::current_path(before);
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(readFile(temp / "pics/Sample0001.jpg"), "a");
    EXPECT_EQ(readFile(temp / "b.jpg"), "b");
}

TEST(RenameCommandTest, WrongArgumentsTouchNothing)
{
    TempFolder temp;
    temp.write("a.jpg", "a");
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {""},
        {temp.path(), temp.path()},
        {temp.path(), "--app-folder"},
        {temp.path(), "--app-folder", ""},
        {temp.path(), "--app-folder", temp.path(), "--app-folder", temp.path()},
        {temp.path(), "--write"},
        {"--undo", temp.path()},
        {"--undo", "--dry-run"},
        {temp.path(), "--dry-run", "--dry-run"},
    };
    for (const auto& args : wrong) {
        const Outcome outcome = rename(args, temp.path());
        EXPECT_EQ(outcome.code, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, kUsage);
    }
    EXPECT_EQ(readFile(temp / "a.jpg"), "a");
}

TEST(RenameCommandTest, DryRunPrintsTheRenamesAndTouchesNothing)
{
    TempFolder app;
    TempFolder pictures;
    pictures.write("b.jpg", "b");
    pictures.write("A.jpg", "A");
    pictures.write("sub/c.jpg", "c");
    // Windows takes no line break in a name.
    const bool lineBreaks = fs::isPlainFileName("line\nbreak.jpg");
    if (lineBreaks) {
        pictures.write("line\nbreak.jpg", "n");
    }
    app.write("Vimbrel.INI", "[OTHER]\r\nAUTO=0\r\nCOUNT=1\r\nSUB_DIR=1\r\n");
    const Outcome dry = rename({pictures.path(), "--app-folder", app.path(), "--dry-run"}, "/");
    EXPECT_EQ(dry.code, 0);
    const std::string sub = escapedName("sub" + std::string(1, fs::kSeparator));
    const std::string count = lineBreaks ? "4" : "3";
    EXPECT_EQ(dry.out, "A.jpg → Sample0001.jpg\n"
                       "b.jpg → Sample0002.jpg\n" +
                           std::string(lineBreaks ? "line\\nbreak.jpg → Sample0003.jpg\n" : "") +
                           sub + "c.jpg → " + sub + "Sample0001.jpg\n" + count +
                           " ファイルを更新しました。\nCOUNT=" + count + "\n");
    EXPECT_EQ(readFile(pictures / "A.jpg"), "A");
    EXPECT_EQ(readFile(pictures / "sub/c.jpg"), "c");
    EXPECT_FALSE(std::filesystem::exists(app / "Vimbrel.rename.log"));

    // The real run ends the same way.
    const Outcome real = rename({pictures.path(), "--app-folder", app.path()}, "/");
    EXPECT_EQ(real.out, count + " ファイルを更新しました。\nCOUNT=" + count + "\n");
}

TEST(RenameCommandTest, UndoTakesBackTheLastRun)
{
    TempFolder app;
    TempFolder pictures;
    pictures.write("a.jpg", "a");
    pictures.write("b.jpg", "b");
    const Outcome nothing = rename({"--undo", "--app-folder", app.path()}, "/");
    EXPECT_EQ(nothing.code, 1);
    EXPECT_EQ(nothing.err, "元に戻す記録がありません。\n");

    ASSERT_EQ(rename({pictures.path()}, app.path()).code, 0);
    EXPECT_EQ(readFile(pictures / "Sample0001.jpg"), "a");
    const Outcome undone = rename({"--undo"}, app.path());
    EXPECT_EQ(undone.code, 0);
    EXPECT_EQ(undone.out, "2 ファイルを元に戻しました。\n");
    EXPECT_EQ(readFile(pictures / "a.jpg"), "a");
    EXPECT_EQ(readFile(pictures / "b.jpg"), "b");
    EXPECT_FALSE(std::filesystem::exists(app / "Vimbrel.rename.log"));
}

} // namespace
} // namespace vimbrel::cli
