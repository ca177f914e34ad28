#include "rename/rename_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "platform/sys_calls.h"
#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::RecordingInterface;
using testing::TempFolder;
using Names = std::set<std::string>;

Names namesIn(const std::string& folder)
{
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool isReadOnly(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

void makeReadOnly(const std::string& path)
{
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
}

// Writes each name with its own name as content, so that a test can see
// which file ended up under which name.
void writeFiles(const TempFolder& temp, const std::string& folder,
                std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        temp.write(folder + name, name);
    }
}

struct RunResult
{
    bool ran;
    std::string message;
};

RunResult runOn(Options& options, const std::string& folder, RecordingInterface& ui)
{
    RenameRun run(options, ui);
    const bool ran = run.BtnExecClick(folder);
    EXPECT_EQ(ui.messages.size(), 1U);
    return {ran, ui.messages.empty() ? "" : ui.messages.back()};
}

RunResult runOn(Options& options, const std::string& folder)
{
    RecordingInterface ui;
    return runOn(options, folder, ui);
}

Options fixedStart(int start)
{
    Options options;
    options.ChkAutoNum = false;
    options.SpinFCnt = start;
    return options;
}

TEST(RenameRunTest, NumbersFilesInCollationOrderAndAdvancesTheStart)
{
    TempFolder temp;
    writeFiles(temp, "", {"b.jpg", "A.jpg", "c.txt"});
    Options options = fixedStart(1);
    RecordingInterface ui;
    const RunResult result = runOn(options, temp.path(), ui);
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.message, "3 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 4);
    EXPECT_EQ(readFile(temp / "Sample0001.jpg"), "A.jpg");
    EXPECT_EQ(readFile(temp / "Sample0002.jpg"), "b.jpg");
    EXPECT_EQ(readFile(temp / "Sample0003.txt"), "c.txt");
    EXPECT_EQ(namesIn(temp.path()).size(), 3U);
    EXPECT_EQ(ui.tabStates, (std::vector<bool>{false, true}));
}

TEST(RenameRunTest, SortIgnoresCaseAndIsNotByteOrder)
{
    TempFolder temp;
    writeFiles(temp, "", {"img2.jpg", "B.jpg", "IMG10.JPG", "a.jpg"});
    Options options = fixedStart(1);
    runOn(options, temp.path());
    EXPECT_EQ(readFile(temp / "Sample0001.jpg"), "a.jpg");
    EXPECT_EQ(readFile(temp / "Sample0002.jpg"), "B.jpg");
    EXPECT_EQ(readFile(temp / "Sample0003.JPG"), "IMG10.JPG");
    EXPECT_EQ(readFile(temp / "Sample0004.jpg"), "img2.jpg");
}

TEST(RenameRunTest, AutomaticNumberingContinuesAfterTheHighestInUse)
{
    TempFolder temp;
    writeFiles(temp, "", {"b.jpg", "A.jpg", "c.txt", "Sample0007.jpg"});
    Options options;
    options.SpinFCnt = 5;
    EXPECT_EQ(runOn(options, temp.path()).message, "3 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 5);
    EXPECT_EQ(namesIn(temp.path()),
              (Names{"Sample0007.jpg", "Sample0008.jpg", "Sample0009.jpg", "Sample0010.txt"}));
    EXPECT_EQ(readFile(temp / "Sample0007.jpg"), "Sample0007.jpg");
    EXPECT_EQ(readFile(temp / "Sample0008.jpg"), "A.jpg");

    // Now every file is numbered: a second run has nothing to do.
    EXPECT_EQ(runOn(options, temp.path()).message, "ファイルがありません。");
}

TEST(RenameRunTest, NothingToRenameSaysSo)
{
    TempFolder temp;
    Options options = fixedStart(1);
    EXPECT_EQ(runOn(options, temp.path()).message, "ファイルがありません。");
    temp.makeFolder("sub");
    temp.write("sub/a.jpg", "a");
    EXPECT_EQ(runOn(options, temp.path()).message, "ファイルがありません。");
    EXPECT_EQ(options.SpinFCnt, 1);
    EXPECT_EQ(namesIn(temp / "sub"), (Names{"a.jpg"}));
    EXPECT_EQ(runOn(options, temp / "missing/").message, "ファイルがありません。");
}

TEST(RenameRunTest, PictureFilterLeavesOtherFilesAsTheyAre)
{
    TempFolder temp;
    writeFiles(temp, "", {"a.txt", "b.TXT"});
    makeReadOnly(temp / "a.txt");
    Options options = fixedStart(1);
    options.ChkFSel = true;
    options.MemoPIC = {" jpg ", ""}; // cleaned by the run before it filters
    EXPECT_EQ(runOn(options, temp.path()).message, "ファイルがありません。");
    EXPECT_EQ(namesIn(temp.path()), (Names{"a.txt", "b.TXT"}));
    EXPECT_TRUE(isReadOnly(temp / "a.txt"));
    EXPECT_EQ(options.MemoPIC, (std::vector<std::string>{"JPG"}));

    temp.write("c.Jpg", "c");
    EXPECT_EQ(runOn(options, temp.path()).message, "1 ファイルを更新しました。");
    EXPECT_EQ(readFile(temp / "Sample0001.Jpg"), "c");
}

TEST(RenameRunTest, ExistingNameIsNeverReplaced)
{
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "Sample0001.jpg"});
    Options options = fixedStart(1);
    EXPECT_EQ(runOn(options, temp.path()).message, "2 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 3);
    EXPECT_EQ(readFile(temp / "a.jpg"), "a.jpg");
    EXPECT_EQ(readFile(temp / "Sample0002.jpg"), "Sample0001.jpg");
    EXPECT_EQ(namesIn(temp.path()).size(), 2U);
}

TEST(RenameRunTest, FallbackWithoutNoReplaceRenameNeverReplacesEither)
{
    sys::Calls calls = sys::ScopedCalls::real();
    calls.renameNoReplace = [](const char*, const char*) {
        return sys::fail(sys::error::kUnsupported); // as on a file system without RENAME_NOREPLACE
    };
    const sys::ScopedCalls scoped(calls);
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "Sample0001.jpg"});
    temp.makeFolder("Sample0003.jpg");
    temp.write("b.jpg", "b.jpg");
    Options options = fixedStart(1);
    EXPECT_EQ(runOn(options, temp.path()).message, "3 ファイルを更新しました。");
    EXPECT_EQ(readFile(temp / "a.jpg"), "a.jpg");
    EXPECT_EQ(readFile(temp / "Sample0002.jpg"), "b.jpg");
    // Sample0001.jpg would become Sample0003.jpg, where a folder stands.
    EXPECT_EQ(readFile(temp / "Sample0001.jpg"), "Sample0001.jpg");
    EXPECT_TRUE(std::filesystem::is_directory(temp / "Sample0003.jpg"));
    EXPECT_EQ(namesIn(temp.path()),
              (Names{"a.jpg", "Sample0001.jpg", "Sample0002.jpg", "Sample0003.jpg"}));
}

TEST(RenameRunTest, RefusedRenamesKeepEveryFileAndUseUpTheirNumbers)
{
    sys::Calls calls = sys::ScopedCalls::real();
    calls.renameNoReplace = [](const char*, const char*) { return sys::fail(sys::error::kBusy); };
    const sys::ScopedCalls scoped(calls);
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "b.jpg"});
    Options options = fixedStart(1);
    EXPECT_EQ(runOn(options, temp.path()).message, "2 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 3);
    EXPECT_EQ(readFile(temp / "a.jpg"), "a.jpg");
    EXPECT_EQ(readFile(temp / "b.jpg"), "b.jpg");
}

TEST(RenameRunTest, PrefixThatIsNoFileNameMovesNothing)
{
    TempFolder temp;
    temp.makeFolder("sub");
    temp.write("a.jpg", "a");
    Options options = fixedStart(1);
    options.EditFHead = "sub/";
    EXPECT_EQ(runOn(options, temp.path()).message, "1 ファイルを更新しました。");
    options.EditFHead = std::string("x\0y", 3);
    runOn(options, temp.path());
    EXPECT_EQ(namesIn(temp.path()), (Names{"a.jpg", "sub"}));
    EXPECT_TRUE(namesIn(temp / "sub").empty());
}

TEST(RenameRunTest, SubFoldersNumberOnTheirOwn)
{
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "b.jpg"});
    temp.makeFolder("sub");
    writeFiles(temp, "sub/", {"c.jpg", "d.jpg"});
    Options options = fixedStart(1);
    options.ChkDirs = true;
    EXPECT_EQ(runOn(options, temp.path()).message, "4 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 3);
    EXPECT_EQ(namesIn(temp.path()), (Names{"Sample0001.jpg", "Sample0002.jpg", "sub"}));
    EXPECT_EQ(readFile(temp / "sub/Sample0001.jpg"), "c.jpg");
    EXPECT_EQ(readFile(temp / "sub/Sample0002.jpg"), "d.jpg");
}

TEST(RenameRunTest, LinksToFoldersAreNotFollowed)
{
    TempFolder temp;
    TempFolder outside;
    temp.write("a.jpg", "a");
    temp.makeFolder("sub");
    temp.write("sub/b.jpg", "b");
    outside.write("c.jpg", "c");
    makeReadOnly(outside / "c.jpg");
    ASSERT_EQ(::symlink(temp.path().c_str(), (temp / "sub/loop").c_str()), 0);
    ASSERT_EQ(::symlink(outside.path().c_str(), (temp / "away").c_str()), 0);
    ASSERT_EQ(::symlink((outside / "c.jpg").c_str(), (temp / "c.jpg").c_str()), 0);
    Options options = fixedStart(1);
    options.ChkDirs = true;
    EXPECT_EQ(runOn(options, temp.path()).message, "3 ファイルを更新しました。");
    EXPECT_EQ(namesIn(temp.path()), (Names{"Sample0001.jpg", "Sample0002.jpg", "away", "sub"}));
    EXPECT_EQ(namesIn(temp / "sub"), (Names{"Sample0001.jpg", "loop"}));
    // The link to a file was renamed itself; the file it points to is untouched.
    EXPECT_EQ(namesIn(outside.path()), (Names{"c.jpg"}));
    EXPECT_TRUE(isReadOnly(outside / "c.jpg"));
}

TEST(RenameRunTest, StartNumberIsHeldBelowTheTopOfItsRange)
{
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    Options options = fixedStart(9998);
    EXPECT_EQ(runOn(options, temp.path()).message, "5 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 9999);
    EXPECT_EQ(namesIn(temp.path()), (Names{"Sample9998.jpg", "Sample9999.jpg", "Sample10000.jpg",
                                           "Sample10001.jpg", "Sample10002.jpg"}));
}

TEST(RenameRunTest, CountingOnPastTheHighestWholeNumberDoesNotWrap)
{
    TempFolder temp;
    writeFiles(temp, "", {"Sample2147483647.jpg", "a.jpg"});
    Options options;
    runOn(options, temp.path());
    EXPECT_EQ(readFile(temp / "Sample2147483648.jpg"), "a.jpg");
}

TEST(RenameRunTest, HiddenAndReadOnlyFilesAreRenamedAndMadeWritable)
{
    TempFolder temp;
    writeFiles(temp, "", {".profile", "a.jpg"});
    makeReadOnly(temp / ".profile");
    Options options = fixedStart(1);
    EXPECT_EQ(runOn(options, temp.path()).message, "2 ファイルを更新しました。");
    EXPECT_EQ(readFile(temp / "Sample0001.profile"), ".profile");
    EXPECT_FALSE(isReadOnly(temp / "Sample0001.profile"));
    EXPECT_EQ(readFile(temp / "Sample0002.jpg"), "a.jpg");
}

TEST(RenameRunTest, WithoutEitherCheckNothingIsTouched)
{
    TempFolder temp;
    temp.write("a.jpg", "a");
    makeReadOnly(temp / "a.jpg");
    Options options = fixedStart(1);
    options.ChkFile = false;
    options.ChKRead = false;
    RecordingInterface ui;
    const RunResult result = runOn(options, temp.path(), ui);
    EXPECT_FALSE(result.ran);
    EXPECT_EQ(result.message, "チェックがありません");
    EXPECT_TRUE(ui.tabStates.empty());
    EXPECT_EQ(namesIn(temp.path()), (Names{"a.jpg"}));
    EXPECT_TRUE(isReadOnly(temp / "a.jpg"));
    EXPECT_EQ(options.SpinFCnt, 1);
}

TEST(RenameRunTest, OnlyClearingAttributesRenamesNothing)
{
    TempFolder temp;
    writeFiles(temp, "", {"a.jpg", "b.jpg", "c.jpg"});
    makeReadOnly(temp / "a.jpg");
    makeReadOnly(temp / "c.jpg");
    Options options = fixedStart(1);
    options.ChkFile = false;
    EXPECT_EQ(runOn(options, temp.path()).message, "2 ファイルを更新しました。");
    EXPECT_EQ(options.SpinFCnt, 1);
    EXPECT_EQ(namesIn(temp.path()), (Names{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_FALSE(isReadOnly(temp / "a.jpg"));
    EXPECT_FALSE(isReadOnly(temp / "c.jpg"));
    EXPECT_EQ(runOn(options, temp.path()).message, "ファイルがありません。");
}

TEST(RenameRunTest, NoFolderChosenTouchesNothing)
{
    TempFolder temp;
    temp.write("a.jpg", "a");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    Options options = fixedStart(1);
    const RunResult result = runOn(options, "");
    std::filesystem::current_path(before);
    EXPECT_EQ(result.message, "ファイルがありません。");
    EXPECT_EQ(namesIn(temp.path()), (Names{"a.jpg"}));
    EXPECT_EQ(options.SpinFCnt, 1);
}

} // namespace
} // namespace vimbrel
