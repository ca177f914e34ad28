#include "viewer/pages/sum_head_page.h"

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

std::string pageLink(int page)
{
    const std::string p = std::to_string(page);
    return "      document.write('  <A HREF=# onClick=parent.SelectPage(" + p + ")>" + p +
           "</A>');";
}

TEST(SumHeadPage, TwentyFourPicturesHaveOnePageLink)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(24);
    EXPECT_EQ(writtenPage(writeSumHeadPage, setup.values()), expectedPage("sum_head.htm"));
}

TEST(SumHeadPage, EveryPageHasALinkInBothCellSizes)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(25);
    const std::vector<std::string> lines = pageLines(writtenPage(writeSumHeadPage, setup.values()));
    ASSERT_EQ(lines.size(), 49u);
    EXPECT_EQ(lines[17],
              "      document.write('  <A HREF=# onClick=parent.PrevPage()   >前へ</A>');");
    EXPECT_EQ(lines[18], pageLink(1));
    EXPECT_EQ(lines[19], pageLink(2));
    EXPECT_EQ(lines[20],
              "      document.write('  <A HREF=# onClick=parent.NextPage()   >次へ</A>');");
    EXPECT_EQ(lines[33],
              "      document.write('  <A HREF=# onClick=parent.PrevPage()   >前へ</A>');");
    EXPECT_EQ(lines[34], pageLink(1));
    EXPECT_EQ(lines[35], pageLink(2));
    EXPECT_EQ(lines[36],
              "      document.write('  <A HREF=# onClick=parent.NextPage()   >次へ</A>');");
}

} // namespace
} // namespace vimbrel::testing
