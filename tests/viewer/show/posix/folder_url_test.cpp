#include "viewer/show/folder_url.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel::testing {
namespace {

const std::string kWork = "/Tools/View/Work/";

TEST(FolderUrl, ClimbsToTheSharedFolderAndDescends)
{
    EXPECT_EQ(FolderUrl(kWork, "/Photos/2001/"), "../../../Photos/2001/");
    EXPECT_EQ(FolderUrl(kWork, "/Tools/View/"), "../");
    EXPECT_EQ(FolderUrl(kWork, "/Tools/View/Work/Sub/"), "Sub/");
    EXPECT_EQ(FolderUrl(kWork, "/Tools/Other/写真 & 2001/"), "../../Other/写真 & 2001/");
    EXPECT_EQ(FolderUrl(kWork, "/"), "../../../");
}

TEST(FolderUrl, TheWorkFolderItselfIsDot)
{
    EXPECT_EQ(FolderUrl(kWork, kWork), "./");
}

TEST(FolderUrl, RepeatedSeparatorsAddNoNames)
{
    EXPECT_EQ(FolderUrl(kWork, "/Tools//View/Pics/"), "../Pics/");
}

TEST(FolderUrl, NamesDifferingInCaseAreOtherFoldersWhereTheFileSystemSaysSo)
{
    TempFolder root;
    root.makeFolder("App/Work");
    root.makeFolder("app/Pics");
    EXPECT_EQ(FolderUrl(root / "App/Work/", root / "app/Pics/"), "../../app/Pics/");
    EXPECT_EQ(FolderUrl(root / "App/Work/", root / "App/Pics/"), "../Pics/");
}

TEST(FolderUrl, APathThatIsNotAbsoluteStaysAsItIs)
{
    EXPECT_EQ(FolderUrl(kWork, "Pictures"), "Pictures/");
}

} // namespace
} // namespace vimbrel::testing
