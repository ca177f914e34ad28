#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/sys_calls.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::fs {
namespace {

using testing::readFile;
using testing::TempFolder;

TEST(FileSystem, ListsEntriesWithAttributes)
{
    TempFolder dir;
    dir.write("a.jpg", "x");
    dir.write(".hidden", "x");
    const std::string locked = dir.write("locked.txt", "x");
    ::chmod(locked.c_str(), 0444);
    dir.makeFolder("sub");
    ::symlink((dir / "sub").c_str(), (dir / "link").c_str());

    auto entries = listFolder(dir.path());
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 5U);
    EXPECT_EQ(entries[0].name, ".hidden");
    EXPECT_TRUE(entries[0].hidden);
    EXPECT_EQ(entries[1].name, "a.jpg");
    EXPECT_FALSE(entries[1].directory || entries[1].readOnly || entries[1].hidden);
    EXPECT_TRUE(entries[2].directory && entries[2].link);
    EXPECT_TRUE(entries[3].readOnly);
    EXPECT_TRUE(entries[4].directory && !entries[4].link);
}

TEST(FileSystem, UnreadableFolderYieldsNothing)
{
    TempFolder dir;
    EXPECT_TRUE(listFolder(dir / "missing/").empty());
    EXPECT_TRUE(listFolder(dir.write("file", "x") + "/").empty());
}

TEST(FileSystem, CreatesFoldersWithParents)
{
    TempFolder dir;
    EXPECT_TRUE(createFolders(dir / "a/b/c/"));
    EXPECT_TRUE(isDirectory(dir / "a/b/c"));
    dir.write("plain", "x");
    EXPECT_FALSE(createFolders(dir / "plain/sub/")); // a file stands in the way
}

TEST(FileSystem, SetArchiveOnlyMakesWritable)
{
    TempFolder dir;
    const std::string file = dir.write("r.txt", "x");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(setArchiveOnly(file));
    struct stat info
    {
    };
    ::stat(file.c_str(), &info);
    EXPECT_NE(info.st_mode & S_IWUSR, 0U);
}

TEST(FileSystem, RenameNeverReplaces)
{
    TempFolder dir;
    const std::string from = dir.write("a.jpg", "first");
    const std::string to = dir.write("b.jpg", "second");
    EXPECT_FALSE(renameNoReplace(from, to));
    EXPECT_EQ(readFile(from), "first");
    EXPECT_EQ(readFile(to), "second");
    EXPECT_TRUE(renameNoReplace(from, dir / "c.jpg"));
    EXPECT_EQ(readFile(dir / "c.jpg"), "first");
    EXPECT_FALSE(isFile(from));
}

TEST(FileSystem, RenameFallbackLinkNeverReplacesEither)
{
    sys::Calls calls = sys::ScopedCalls::real();
    calls.renameNoReplace = [](const char*, const char*) {
        return sys::fail(sys::error::kUnsupported); // a file system without RENAME_NOREPLACE
    };
    sys::ScopedCalls scoped(calls);
    TempFolder dir;
    const std::string from = dir.write("a.jpg", "first");
    const std::string to = dir.write("b.jpg", "second");
    EXPECT_FALSE(renameNoReplace(from, to));
    EXPECT_EQ(readFile(to), "second");
    EXPECT_EQ(readFile(from), "first");
    EXPECT_TRUE(renameNoReplace(from, dir / "c.jpg"));
    EXPECT_EQ(readFile(dir / "c.jpg"), "first");
    EXPECT_FALSE(isFile(from));
}

TEST(FileSystem, SameFolderComparesTheRealFolder)
{
    TempFolder dir;
    const std::string sub = dir.makeFolder("pics");
    ::symlink((dir / "pics").c_str(), (dir / "alias").c_str());
    EXPECT_TRUE(sameFolder(sub, dir / "alias/"));
    EXPECT_TRUE(sameFolder(sub, dir / "pics/../pics/"));
    EXPECT_FALSE(sameFolder(sub, dir.path()));
    EXPECT_FALSE(sameFolder(dir / "missing/", dir / "missing/"));
}

TEST(FileSystem, DeleteRemovesFilesOnly)
{
    TempFolder dir;
    const std::string sub = dir.makeFolder("sub");
    EXPECT_FALSE(deleteFile(sub));
    EXPECT_TRUE(isDirectory(sub));
    EXPECT_TRUE(deleteFile(dir.write("f", "x")));
    EXPECT_FALSE(isFile(dir / "f"));
}

} // namespace
} // namespace vimbrel::fs
