#include "viewer/show/work_folder_cleanup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::TempFolder;

TEST(WorkFolderCleanupTest, DeletesFilesOnlyAndLeavesFolders)
{
    TempFolder temp;
    const std::string work = temp.makeFolder("Work");
    temp.write("Work/index.htm", "page");
    temp.write("Work/.hidden.jpg", "small");
    ASSERT_EQ(::chmod((work + ".hidden.jpg").c_str(), 0444), 0);
    temp.write("Work/sub/keep.htm", "kept");
    temp.write("outside.jpg", "target");
    ASSERT_EQ(::chmod((temp / "outside.jpg").c_str(), 0444), 0);
    ASSERT_EQ(::symlink((temp / "outside.jpg").c_str(), (work + "link.jpg").c_str()), 0);
    ASSERT_EQ(::symlink((temp / "Work/sub").c_str(), (work + "linked_folder").c_str()), 0);

    DeleteFolderFiles(work);

    EXPECT_FALSE(std::filesystem::exists(work + "index.htm"));
    EXPECT_FALSE(std::filesystem::exists(work + ".hidden.jpg"));
    EXPECT_FALSE(std::filesystem::is_symlink(work + "link.jpg"));
    EXPECT_TRUE(std::filesystem::is_directory(work));
    EXPECT_EQ(readFile(work + "sub/keep.htm"), "kept");
    EXPECT_TRUE(std::filesystem::is_symlink(work + "linked_folder"));
    // The file a deleted link pointed to is neither gone nor made writable.
    struct stat info
    {
    };
    ASSERT_EQ(::stat((temp / "outside.jpg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IWUSR, 0U);
}

TEST(WorkFolderCleanupTest, MissingOrUnnamedFolderDoesNothing)
{
    TempFolder temp;
    temp.write("a.htm", "a");
    DeleteFolderFiles(temp / "Work/");
    EXPECT_FALSE(std::filesystem::exists(temp / "Work"));
    DeleteFolderFiles(temp / "a.htm/"); // a file where the folder should be
    EXPECT_EQ(readFile(temp / "a.htm"), "a");

    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    DeleteFolderFiles("");
    std::filesystem::current_path(before);
    EXPECT_EQ(readFile(temp / "a.htm"), "a");
}

} // namespace
} // namespace vimbrel
