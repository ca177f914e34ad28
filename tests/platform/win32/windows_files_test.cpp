// The Windows side of the platform layer against the real system calls:
// attributes, the order of names, renames that never replace, long and odd
// names, and the rename journal's identity of a file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/sys_calls.h"
#include "platform/whole_file.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::TempFolder;

DWORD attributesOf(const std::string& path)
{
    return ::GetFileAttributesW(win32::systemPath(path).c_str());
}

const fs::DirEntry* find(const std::vector<fs::DirEntry>& entries, const std::string& name)
{
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const fs::DirEntry& entry) { return entry.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

TEST(WindowsFiles, ListingGivesTheRealAttributesAndArchiveOnlyClearsThem)
{
    TempFolder dir;
    const std::string file = dir.write("a.jpg", "a");
    dir.makeFolder("sub");
    ASSERT_TRUE(::SetFileAttributesW(win32::systemPath(file).c_str(), FILE_ATTRIBUTE_HIDDEN |
                                                                          FILE_ATTRIBUTE_SYSTEM |
                                                                          FILE_ATTRIBUTE_READONLY));
    const std::vector<fs::DirEntry> entries = fs::listFolder(dir.path());
    ASSERT_EQ(entries.size(), 2u);
    const fs::DirEntry* picture = find(entries, "a.jpg");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->hidden && picture->system && picture->readOnly);
    EXPECT_FALSE(picture->directory);
    EXPECT_TRUE(find(entries, "sub")->directory);
    EXPECT_TRUE(fs::isReadOnlyFile(file));

    // The rename run makes a file "archive alone": hidden and system go too.
    ASSERT_TRUE(fs::setArchiveOnly(file));
    EXPECT_EQ(attributesOf(file), DWORD(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_FALSE(fs::isReadOnlyFile(file));
}

TEST(WindowsFiles, NamesSortIgnoringCaseInTheUsersLocale)
{
    const Collator collator;
    EXPECT_EQ(collator.compare("photo.JPG", "PHOTO.jpg"), 0);
    std::vector<std::string> names = {"b.jpg", "C.jpg", "a.jpg", "B2.jpg"};
    collator.sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "b.jpg", "B2.jpg", "C.jpg"}));
    // Broken UTF-8 compares without harm.
    EXPECT_NE(collator.compare("\xff\xfe", "a"), 0);
    EXPECT_FALSE(Collator::environmentLocale().empty());
}

TEST(WindowsFiles, RenameNeverReplacesAndSaysWhy)
{
    TempFolder dir;
    const std::string from = dir.write("a.jpg", "first");
    const std::string to = dir.write("b.jpg", "second");
    EXPECT_FALSE(fs::renameNoReplace(from, to));
    EXPECT_EQ(sys::lastError(), sys::error::kExists);
    EXPECT_EQ(readFile(from), "first");
    EXPECT_EQ(readFile(to), "second");
    // Only the letter case differs: the same file, which is no other file
    // to keep (Windows then spells it anew; Wine keeps the old spelling).
    EXPECT_TRUE(fs::renameNoReplace(from, dir / "A.JPG"));
    EXPECT_EQ(fs::listFolder(dir.path()).size(), 2u);
    EXPECT_EQ(readFile(dir / "A.JPG"), "first");
}

TEST(WindowsFiles, TheJournalsIdentityFollowsTheFileThroughARename)
{
    TempFolder dir;
    const std::string from = dir.write("a.jpg", "a");
    const auto before = fs::stateOf(from);
    ASSERT_TRUE(before);
    ASSERT_TRUE(fs::renameNoReplace(from, dir / "Sample0001.jpg"));
    const auto after = fs::stateOf(dir / "Sample0001.jpg");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->device, before->device);
    EXPECT_EQ(after->inode, before->inode);
    EXPECT_TRUE(fs::nameIsFree(from));
    EXPECT_FALSE(fs::nameIsFree(dir / "Sample0001.jpg"));
}

TEST(WindowsFiles, LongAndOddNamesWorkEverywhere)
{
    TempFolder dir;
    // Well past the old limit of 260 characters.
    std::string deep;
    for (int i = 0; i < 12; ++i) {
        deep += std::string(30, char('a' + i)) + "/";
    }
    const std::string folder = dir.makeFolder(deep);
    ASSERT_GT(folder.size(), 300u);
    ASSERT_TRUE(fs::isDirectory(folder));
    for (const std::string name : {"写真 #1 %20.jpg", "😀 emoji.jpg", "Ａ全角.JPG", "a;b,c'd.jpg"}) {
        sys::Calls calls = sys::ScopedCalls::real();
        const int fd = calls.open((folder + name).c_str(), sys::OpenFor::CreatingNew);
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(calls.write(fd, name.data(), name.size()), std::ptrdiff_t(name.size()));
        ASSERT_EQ(calls.close(fd), 0);
        const WholeFile whole = readWholeFile(folder + name, 1000);
        EXPECT_EQ(whole.state, WholeFile::State::Read) << name;
        EXPECT_EQ(whole.bytes, name);
        EXPECT_NE(find(fs::listFolder(folder), name), nullptr) << name;
    }
    EXPECT_TRUE(fs::renameNoReplace(folder + "😀 emoji.jpg", folder + "😀 renamed.jpg"));
    EXPECT_TRUE(fs::deleteFile(folder + "😀 renamed.jpg"));
    EXPECT_EQ(fs::listFolder(folder).size(), 3u);
}

TEST(WindowsFiles, NamesWindowsRefusesAreNoPlainNames)
{
    for (const char* name : {"a.jpg:x", "a.jpg::$DATA", "CON", "nul.jpg", "COM1.jpg", "lpt9",
                             "a.jpg.", "a.jpg ", "a\\b", "a/b", "a*b", "..", ""}) {
        EXPECT_FALSE(fs::isPlainFileName(name)) << name;
    }
    for (const char* name : {"a.jpg", "console.jpg", "COM10.jpg", "写真.jpg", ".hidden"}) {
        EXPECT_TRUE(fs::isPlainFileName(name)) << name;
    }
}

TEST(WindowsFiles, FullPathsAndTheirUrls)
{
    EXPECT_EQ(fs::rootOf("C:\\Pictures\\a.jpg"), "C:\\");
    EXPECT_EQ(fs::rootOf("\\\\server\\share\\a.jpg"), "\\\\server\\share\\");
    EXPECT_EQ(fs::rootOf("C:x"), "");
    EXPECT_EQ(fs::rootOf("\\\\server"), "");
    EXPECT_EQ(fs::urlPathOf("C:\\Pictures\\a.jpg"), "/C:/Pictures/a.jpg");
    EXPECT_EQ(fs::urlPathOf("\\\\server\\share\\a.jpg"), "/UNC/server/share/a.jpg");
    EXPECT_EQ(fs::fullPathOfUrl("/C:/Pictures/a.jpg"), "C:\\Pictures\\a.jpg");
    EXPECT_EQ(fs::fullPathOfUrl("/UNC/server/share/a.jpg"), "\\\\server\\share\\a.jpg");
    for (const char* refused : {"/C:x/a.jpg", "/UNC/./pipe/x", "/UNC/?/C:/x", "//server/share/a",
                                "C:/a", "/a.jpg", "/UNC/server"}) {
        EXPECT_FALSE(fs::fullPathOfUrl(refused)) << refused;
    }
    EXPECT_TRUE(fs::liesIn("c:\\PICS\\a.jpg", "C:\\pics\\"));
    EXPECT_FALSE(fs::liesIn("C:\\pics2\\a.jpg", "C:\\pics\\"));
}

TEST(WindowsFiles, WriteFailuresGiveTheWindowsTexts)
{
    TempFolder dir;
    const std::string folderInTheWay = dir.makeFolder("page.htm");
    const int fd =
        sys::ScopedCalls::real().open((dir / "page.htm").c_str(), sys::OpenFor::Replacing);
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(sys::lastError(), sys::error::kIsFolder);
    EXPECT_EQ(readWholeFile(dir / "missing/x", 10).state, WholeFile::State::Missing);
    EXPECT_EQ(readWholeFile(folderInTheWay, 10).errorNumber, sys::error::kIsFolder);
}

} // namespace
} // namespace vimbrel
