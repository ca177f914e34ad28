#include "rename/rename_undo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "platform/sys_calls.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"
#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::RecordingInterface;
using testing::TempFolder;

// Every file below `folder`: its path below it, its content and permission
// bits; what "the folder exactly as it was" means.
std::map<std::string, std::pair<std::string, unsigned>> snapshot(const std::string& folder)
{
    std::map<std::string, std::pair<std::string, unsigned>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat info = {};
        ::lstat(entry.path().c_str(), &info);
        const std::string below = entry.path().string().substr(folder.size());
        files[below] = {entry.is_regular_file() ? testing::readFile(entry.path()) : "<folder>",
                        unsigned(info.st_mode & 07777)};
    }
    return files;
}

class RenameUndoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOptions.ChkAutoNum = false;
        mOptions.SpinFCnt = 1;
    }

    // A 実行 with a journal, as the window runs it.
    std::string run(const std::string& folder)
    {
        RecordingInterface ui;
        RenameRun(mOptions, ui, mJournal).BtnExecClick(folder);
        return ui.messages.empty() ? "" : ui.messages.back();
    }

    std::string undo(UndoResult* result = nullptr)
    {
        RecordingInterface ui;
        const UndoResult done = UndoRename(mJournal, ui);
        if (result != nullptr) {
            *result = done;
        }
        return ui.messages.empty() ? "" : ui.messages.back();
    }

    TempFolder mTemp;
    std::string mFolder = mTemp.makeFolder("pictures");
    std::string mJournal = renameJournalPath(mTemp.makeFolder("app"));
    Options mOptions;
};

TEST_F(RenameUndoTest, UndoGivesBackTheFolderExactlyAsItWas)
{
    mOptions.ChkDirs = true;
    mTemp.write("pictures/b.jpg", "b");
    mTemp.write("pictures/a.txt", "a");
    mTemp.write("pictures/sub/c.jpg", "c");
    mTemp.write("pictures/sub/deeper/d.jpg", "d");
    ::chmod((mFolder + "b.jpg").c_str(), 0444);
    ::chmod((mFolder + "sub/c.jpg").c_str(), 0400);
    const auto before = snapshot(mFolder);

    EXPECT_EQ(run(mFolder), "4 ファイルを更新しました。");
    ASSERT_NE(snapshot(mFolder), before);
    EXPECT_EQ(mOptions.SpinFCnt, 3);

    UndoResult result;
    EXPECT_EQ(undo(&result), "4 ファイルを元に戻しました。");
    EXPECT_EQ(result.restored, 4);
    EXPECT_EQ(snapshot(mFolder), before); // names, contents, read-only bits
    EXPECT_FALSE(std::filesystem::exists(mJournal));
    EXPECT_EQ(mOptions.SpinFCnt, 3); // undo leaves the start number
    EXPECT_EQ(undo(), kNothingToUndoMessage);
}

TEST_F(RenameUndoTest, ANewRunReplacesTheJournalOfTheOneBefore)
{
    mTemp.write("pictures/a.jpg", "a");
    run(mFolder);
    const std::string other = mTemp.makeFolder("other");
    mTemp.write("other/x.jpg", "x");
    run(other);
    EXPECT_EQ(undo(), "1 ファイルを元に戻しました。");
    EXPECT_EQ(testing::readFile(other + "x.jpg"), "x");
    EXPECT_EQ(testing::readFile(mFolder + "Sample0001.jpg"), "a"); // the first run stays
}

TEST_F(RenameUndoTest, FilesReplacedOrNamesTakenSinceAreLeftAloneAndNamed)
{
    mTemp.write("pictures/a.jpg", "a");
    mTemp.write("pictures/b.jpg", "b");
    mTemp.write("pictures/c.jpg", "c");
    run(mFolder);
    // Sample0001.jpg (was a.jpg) replaced by another file of that name;
    // b.jpg taken by a new file; Sample0003.jpg (was c.jpg) left as it is.
    // (The old file is moved aside, not deleted, so that the new one cannot
    // get its inode number.)
    std::filesystem::rename(mFolder + "Sample0001.jpg", mTemp / "aside.jpg");
    mTemp.write("pictures/Sample0001.jpg", "new content");
    mTemp.write("pictures/b.jpg", "new b");

    UndoResult result;
    const std::string message = undo(&result);
    EXPECT_EQ(result.restored, 1);
    EXPECT_EQ(result.failed, 2);
    EXPECT_NE(message.find("1 ファイルを元に戻しました。\r2 ファイルは戻せませんでした。"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(mFolder + "a.jpg: 「Sample0001.jpg」は別のファイルに置き換わっています"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(mFolder + "b.jpg: 元の名前はほかのファイルが使っています"),
              std::string::npos)
        << message;
    EXPECT_EQ(testing::readFile(mFolder + "Sample0001.jpg"), "new content");
    EXPECT_EQ(testing::readFile(mFolder + "Sample0002.jpg"), "b");
    EXPECT_EQ(testing::readFile(mFolder + "b.jpg"), "new b");
    EXPECT_EQ(testing::readFile(mFolder + "c.jpg"), "c");
    EXPECT_FALSE(std::filesystem::exists(mFolder + "a.jpg"));
}

TEST_F(RenameUndoTest, ManyFailuresAreListedTenAtMostThenCounted)
{
    for (int i = 0; i < 13; ++i) {
        mTemp.write("pictures/f" + std::to_string(100 + i) + ".jpg", "x");
    }
    run(mFolder);
    for (int i = 0; i < 13; ++i) {
        mTemp.write("pictures/f" + std::to_string(100 + i) + ".jpg", "taken");
    }
    const std::string message = undo();
    size_t lines = 0;
    for (char c : message) {
        lines += c == '\r' ? 1 : 0;
    }
    EXPECT_EQ(lines, 12u) << message; // count, ten reasons, "ほか 3 件"
    EXPECT_NE(message.find("\rほか 3 件"), std::string::npos) << message;
}

TEST_F(RenameUndoTest, AJournalCutOffMidLineUndoesWhatItRecords)
{
    mTemp.write("pictures/a.jpg", "a");
    mTemp.write("pictures/b.jpg", "b");
    run(mFolder);
    // A run that died while writing its second line.
    std::string text = testing::readFile(mJournal);
    text = text.substr(0, text.size() - 6);
    mTemp.write("app/Vimbrel.rename.log", text);

    EXPECT_EQ(undo(), "1 ファイルを元に戻しました。");
    EXPECT_EQ(testing::readFile(mFolder + "a.jpg"), "a");
    EXPECT_EQ(testing::readFile(mFolder + "Sample0002.jpg"), "b");
}

TEST_F(RenameUndoTest, EmptyOrDamagedJournalsChangeNothing)
{
    mTemp.write("pictures/a.jpg", "a");
    mTemp.write("pictures/b.jpg", "b");
    run(mFolder);
    const std::string good = testing::readFile(mJournal);
    const auto after = snapshot(mFolder);
    const size_t secondLine = good.find('\n', good.find('\n') + 1) + 1;
    for (const std::string& damaged : {
             good.substr(0, good.find('\n') + 1) + "renamed\tbroken\n" + good.substr(secondLine),
             "not a journal\n" + good.substr(good.find('\n') + 1),
             std::string("\0\0\0", 3),
         }) {
        mTemp.write("app/Vimbrel.rename.log", damaged);
        UndoResult result;
        EXPECT_EQ(undo(&result), kDamagedJournalMessage);
        EXPECT_FALSE(result.ran);
        EXPECT_EQ(snapshot(mFolder), after);
        EXPECT_EQ(testing::readFile(mJournal), damaged); // kept for a person to read
    }
    mTemp.write("app/Vimbrel.rename.log", good.substr(0, good.find('\n') + 1));
    EXPECT_EQ(undo(), kNothingToUndoMessage);
    std::filesystem::remove(mJournal);
    EXPECT_EQ(undo(), kNothingToUndoMessage);
    EXPECT_EQ(snapshot(mFolder), after);
}

TEST_F(RenameUndoTest, RunsThatRenameNothingLeaveNoJournal)
{
    mTemp.write("pictures/a.jpg", "a");
    mOptions.ChkFile = false; // only clears read-only attributes
    run(mFolder);
    EXPECT_FALSE(std::filesystem::exists(mJournal));
    mOptions.ChkFile = true;
    run(mTemp.makeFolder("empty"));
    EXPECT_FALSE(std::filesystem::exists(mJournal));
}

TEST_F(RenameUndoTest, OddNamesRoundTripThroughTheJournal)
{
    mOptions.EditFHead = "new\nname\t";
    for (const char* name : {"line\nbreak.jpg", "\xff\xfe.jpg", "tab\t.jpg", "back\\slash.jpg"}) {
        mTemp.write(std::string("pictures/") + name, name);
    }
    const auto before = snapshot(mFolder);
    run(mFolder);
    EXPECT_NE(snapshot(mFolder), before);
    EXPECT_EQ(undo(), "4 ファイルを元に戻しました。");
    EXPECT_EQ(snapshot(mFolder), before);
}

TEST_F(RenameUndoTest, AFullDiskStopsTheJournalNotTheRunAndUndoTakesBackWhatItHolds)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        mTemp.write(std::string("pictures/") + name, name);
    }
    // The journal's first line and one step are written; then the disk is
    // full.
    static int writes = 0;
    writes = 0;
    sys::Calls calls = sys::ScopedCalls::real();
    calls.write = [](int fd, const void* data, size_t size) -> std::ptrdiff_t {
        if (++writes > 2) {
            return sys::fail(sys::error::kDiskFull);
        }
        return sys::ScopedCalls::real().write(fd, data, size);
    };
    {
        const sys::ScopedCalls full(calls);
        EXPECT_EQ(run(mFolder), "3 ファイルを更新しました。");
    }
    EXPECT_EQ(undo(), "1 ファイルを元に戻しました。");
    EXPECT_EQ(testing::readFile(mFolder + "a.jpg"), "a.jpg");
    EXPECT_EQ(testing::readFile(mFolder + "Sample0002.jpg"), "b.jpg");
}

TEST_F(RenameUndoTest, ADryRunPlansExactlyWhatTheRunDoesAndTouchesNothing)
{
    mOptions.ChkDirs = true;
    // Sample0002.jpg is taken, so the real run leaves b.jpg as it is.
    for (const char* name : {"a.jpg", "b.jpg", "Sample0002.jpg", "c.txt", "sub/d.jpg"}) {
        mTemp.write(std::string("pictures/") + name, name);
    }
    ::chmod((mFolder + "a.jpg").c_str(), 0444);
    const auto before = snapshot(mFolder);

    Options planned = mOptions;
    RecordingInterface planUi;
    std::vector<std::string> plan;
    RenameRun dry(planned, planUi, mJournal);
    dry.planOnly([&](const std::string& folder, const std::string& from, const std::string& to) {
        plan.push_back(folder + from + " -> " + folder + to);
    });
    dry.BtnExecClick(mFolder);
    EXPECT_EQ(snapshot(mFolder), before);
    EXPECT_FALSE(std::filesystem::exists(mJournal));

    const std::string message = run(mFolder);
    EXPECT_EQ(planUi.messages.back(), message);
    EXPECT_EQ(planned.SpinFCnt, mOptions.SpinFCnt);
    // The journal of the real run names the same renames, in the same order.
    std::vector<std::string> done;
    for (const JournalStep& step : readRenameJournal(mJournal).steps) {
        if (step.kind == JournalStep::Kind::Renamed) {
            done.push_back(step.folder + step.oldName + " -> " + step.folder + step.newName);
        }
    }
    EXPECT_EQ(plan, done);
    EXPECT_EQ(plan.size(), 4u);
}

} // namespace
} // namespace vimbrel
