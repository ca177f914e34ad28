#include "viewer/pages/btns_page.h"

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

TEST(BtnsPage, FirstStartIntervalsGiveTheWholePage)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg"};
    EXPECT_EQ(writtenPage(writeBtnsPage, setup.values()), expectedPage("btns.htm"));
}

TEST(BtnsPage, TooltipsShowTheIntervalsInSeconds)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg"};
    setup.Interval1 = 12300;
    setup.Interval2 = 100;
    setup.Interval3 = 999900;
    const std::vector<std::string> lines = pageLines(writtenPage(writeBtnsPage, setup.values()));
    ASSERT_EQ(lines.size(), 46u);
    const std::string head = R"~(  <TD WIDTH="30"><A HREF="#"  onClick=parent.ChgTime()~";
    EXPECT_EQ(
        lines[29],
        head +
            R"~(1)  ><IMG SRC="../Img/BtnTIME1.gif"   WIDTH=16 ALT="入替時間=12.3 秒" BORDER=0></A></TD>)~");
    EXPECT_EQ(
        lines[34],
        head +
            R"~(2)  ><IMG SRC="../Img/BtnTIME2.gif"   WIDTH=16 ALT="入替時間=0.1 秒" BORDER=0></A></TD>)~");
    EXPECT_EQ(
        lines[39],
        head +
            R"~(3)  ><IMG SRC="../Img/BtnTIME3.gif"   WIDTH=16 ALT="入替時間=999.9 秒" BORDER=0></A></TD>)~");
}

TEST(BtnsPage, DependsOnTheIntervalsAlone)
{
    PageSetup first;
    first.ImageNames = {"a.jpg"};
    PageSetup second;
    second.ImageNames = numberedNames(30);
    second.PicturePath = "../../other/";
    second.options.select(&Options::RdoPic);
    second.options.select(&Options::RdoFWork);
    second.SmallPath = "./";
    EXPECT_EQ(writtenPage(writeBtnsPage, first.values()),
              writtenPage(writeBtnsPage, second.values()));
}

} // namespace
} // namespace vimbrel::testing
