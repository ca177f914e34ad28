#include "platform/file_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/sys_calls.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::TempFolder;

sys::Calls diskFull()
{
    sys::Calls calls = sys::ScopedCalls::real();
    calls.write = [](int, const void*, size_t) -> std::ptrdiff_t {
        return sys::fail(sys::error::kDiskFull);
    };
    return calls;
}

TEST(FileWriter, ReplacesTheOldContent)
{
    TempFolder dir;
    const std::string path = dir.write("page.htm", "old old old old");
    FileWriter writer(path);
    writer.write("new");
    writer.finish();
    EXPECT_EQ(readFile(path), "new");
}

TEST(FileWriter, ReportsTheUsersTextForEachFailure)
{
    TempFolder dir;
    try {
        FileWriter writer(dir / "missing/page.htm");
        FAIL() << "opened a file in a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "I/O エラー (2)");
    }
    sys::ScopedCalls full(diskFull());
    FileWriter writer(dir / "page.htm");
    writer.write("text");
    try {
        writer.finish();
        FAIL() << "a full disk went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "ディスクがいっぱいです");
    }
    EXPECT_EQ(FileError::textFor(EACCES), "ファイルへのアクセスが拒否されました");
}

TEST(FileWriter, AtomicReplaceKeepsTheOldFileOnFailure)
{
    TempFolder dir;
    const std::string path = dir.write("Vimbrel.INI", "[FORM]\r\nTOP=5\r\n");
    {
        sys::ScopedCalls full(diskFull());
        EXPECT_EQ(replaceFileAtomically(path, "[FORM]\r\nTOP=6\r\n"), ENOSPC);
    }
    EXPECT_EQ(readFile(path), "[FORM]\r\nTOP=5\r\n");
    EXPECT_FALSE(::access((path + ".new").c_str(), F_OK) == 0);
    EXPECT_EQ(replaceFileAtomically(path, "[FORM]\r\nTOP=6\r\n"), 0);
    EXPECT_EQ(readFile(path), "[FORM]\r\nTOP=6\r\n");
}

TEST(FileWriter, AtomicReplaceKeepsThePermissions)
{
    TempFolder dir;
    const std::string path = dir.write("Vimbrel.INI", "old");
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(replaceFileAtomically(path, "new"), 0);
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
}

} // namespace
} // namespace vimbrel
