#include "viewer/show/folder_url.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

const std::string kWork = "C:\\Tools\\View\\Work\\";

TEST(FolderUrl, ClimbsToTheSharedFolderAndDescendsOnOneDrive)
{
    EXPECT_EQ(FolderUrl(kWork, "C:\\Photos\\2001\\"), "../../../Photos/2001/");
    EXPECT_EQ(FolderUrl(kWork, "C:\\Tools\\View\\"), "../");
    EXPECT_EQ(FolderUrl(kWork, "C:\\Tools\\View\\Work\\Sub\\"), "Sub/");
    EXPECT_EQ(FolderUrl(kWork, kWork), "./");
    EXPECT_EQ(FolderUrl(kWork, "C:\\"), "../../../");
    EXPECT_EQ(FolderUrl(kWork, "C:\\Tools\\Other\\写真 & 2001\\"), "../../Other/写真 & 2001/");
}

TEST(FolderUrl, DrivesAndNamesCompareIgnoringCase)
{
    EXPECT_EQ(FolderUrl(kWork, "c:\\tools\\view\\Pics\\"), "../Pics/");
    EXPECT_EQ(FolderUrl(kWork, "C:\\TOOLS\\view\\work\\"), "./");
}

TEST(FolderUrl, AnotherDriveIsReachedThroughTheServedRoot)
{
    // Written as the full path D:/Pictures/, a browser would take "d:" for a
    // scheme: the URL climbs out of C: and goes down through D:.
    EXPECT_EQ(FolderUrl(kWork, "D:\\Pictures\\"), "../../../../D:/Pictures/");
    EXPECT_EQ(FolderUrl("C:\\Work\\", "D:\\"), "../../D:/");
}

TEST(FolderUrl, SharesAreReachedThroughTheServedRootToo)
{
    EXPECT_EQ(FolderUrl(kWork, "\\\\server\\share\\Pics\\"), "../../../../UNC/server/share/Pics/");
    const std::string onShare = "\\\\srv\\sh\\Vimbrel\\Work\\";
    EXPECT_EQ(FolderUrl(onShare, "\\\\SRV\\sh\\Pics\\"), "../../Pics/");
    EXPECT_EQ(FolderUrl(onShare, "\\\\srv\\other\\Pics\\"), "../../../../../UNC/srv/other/Pics/");
    EXPECT_EQ(FolderUrl(onShare, "C:\\Pics\\"), "../../../../../C:/Pics/");
}

TEST(FolderUrl, APathThatIsNotFullStaysAsItIsWithSlashes)
{
    EXPECT_EQ(FolderUrl(kWork, "Pictures\\Old"), "Pictures/Old/");
    EXPECT_EQ(FolderUrl(kWork, "\\\\server"), "//server/");
}

} // namespace
} // namespace vimbrel
