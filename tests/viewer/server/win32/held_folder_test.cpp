// The viewer server's files on Windows: what a request can reach through
// the served folders, and every name trick that must not reach more.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/held_folder.h"
#include "platform/sys_calls.h"
#include "platform/whole_file.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"
#include "viewer/server/served_folders.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

class WindowsServedFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPictures = mRoot.makeFolder("pictures");
        mRoot.write("pictures/a.jpg", "picture");
        mRoot.write("secret/passwd", "secret");
        mFolders.allow(mPictures);
    }

    // The content served for `path`, or "refused".
    std::string served(const std::string& path) const
    {
        const int fd = mFolders.open(path);
        if (fd < 0) {
            return "refused";
        }
        const WholeFile file = readOpenFile(fd, 1000);
        closeFile(fd);
        return file.bytes;
    }

    TempFolder mRoot;
    std::string mPictures;
    ServedFolders mFolders;
};

TEST_F(WindowsServedFolders, ServesItsFilesWhateverTheLetterCase)
{
    EXPECT_EQ(served(mPictures + "a.jpg"), "picture");
    std::string upper = mPictures + "A.JPG";
    for (char& c : upper) {
        c = char(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    EXPECT_EQ(served(upper), "picture");
}

TEST_F(WindowsServedFolders, NameTricksAreRefusedBeforeAnythingOpens)
{
    for (const std::string trick : {"..\\secret\\passwd", "a.jpg::$DATA", "a.jpg:x", "CON", "NUL",
                                    "COM1.jpg", "a.jpg.", "a.jpg ", ".\\a.jpg", "", "a.jpg\\"}) {
        EXPECT_EQ(served(mPictures + trick), "refused") << trick;
    }
    EXPECT_EQ(served(mRoot / "secret/passwd"), "refused");
    EXPECT_EQ(served("C:a.jpg"), "refused");
    EXPECT_EQ(served("\\\\.\\C:\\a.jpg"), "refused");
    EXPECT_EQ(served("\\\\?\\" + mPictures + "a.jpg"), "refused");
}

TEST_F(WindowsServedFolders, TheHeldFolderCannotBeRenamedAwayOrSwapped)
{
    const std::wstring folder = win32::systemPath(mRoot / "pictures");
    const std::wstring moved = win32::systemPath(mRoot / "moved");
    EXPECT_FALSE(::MoveFileExW(folder.c_str(), moved.c_str(), 0));
    EXPECT_EQ(served(mPictures + "a.jpg"), "picture");
}

TEST_F(WindowsServedFolders, OnlyDiskFilesAreOpened)
{
    mRoot.makeFolder("pictures/sub.jpg");
    EXPECT_EQ(served(mPictures + "sub.jpg"), "refused");
    HeldFolder held(mPictures);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(held.open("sub.jpg", BeneathMode::Kernel), -1);
    EXPECT_EQ(sys::lastError(), sys::error::kNotPlain);
    EXPECT_EQ(held.open("..\\secret\\passwd", BeneathMode::Kernel), -1);
}

TEST_F(WindowsServedFolders, ALinkThatLeadsOutIsRefused)
{
    // Symbolic links and junctions need rights a test may not have; where
    // the system makes one, it must not lead out.
    const std::wstring link = win32::systemPath(mPictures + "leak.jpg");
    const std::wstring target = win32::systemPath(mRoot / "secret/passwd");
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0)) {
        GTEST_SKIP() << "no symbolic links here";
    }
    EXPECT_EQ(served(mPictures + "leak.jpg"), "refused");
}

} // namespace
} // namespace vimbrel
