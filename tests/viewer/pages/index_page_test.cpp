#include "viewer/pages/index_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

// The lines from the array's head to its closing line, both included.
std::vector<std::string> nameBlock(const std::string& page)
{
    const std::vector<std::string> lines = pageLines(page);
    auto head = std::find(lines.begin(), lines.end(), "  var fnames =new Array( // 画像ファイル名");
    auto close = std::find(head, lines.end(), "                     );");
    EXPECT_NE(close, lines.end());
    return {head, close == lines.end() ? close : close + 1};
}

const std::string kHead = "  var fnames =new Array( // 画像ファイル名";
const std::string kClose = "                     );";
const std::string k21(21, ' ');
const std::string k23(23, ' ');

TEST(IndexPage, ThreePicturesGiveTheWholePage)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg", "b.jpg", "c.jpg"};
    EXPECT_EQ(writtenPage(writeIndexPage, setup.values()), expectedPage("index.htm"));
}

TEST(IndexPage, OnePictureIsOneLineAndTheLastIndexIsZero)
{
    PageSetup setup;
    setup.ImageNames = {"only.jpg"};
    const std::string page = writtenPage(writeIndexPage, setup.values());
    EXPECT_EQ(nameBlock(page), (std::vector<std::string>{kHead, k23 + "\"only.jpg\"", kClose}));
    EXPECT_NE(page.find("\r\n  var img_max  =0;     // 画像最終位置\r\n"), std::string::npos);
}

TEST(IndexPage, TenNamesEndTheirLineAndLeaveALineOfBlanks)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(10);
    const std::string page = writtenPage(writeIndexPage, setup.values());
    EXPECT_EQ(nameBlock(page),
              (std::vector<std::string>{kHead,
                                        k23 + R"~("p00.jpg" ,"p01.jpg" ,"p02.jpg" ,"p03.jpg" ,)~"
                                              R"~("p04.jpg" ,"p05.jpg" ,"p06.jpg" ,"p07.jpg" ,)~"
                                              R"~("p08.jpg" ,"p09.jpg")~",
                                        k21, kClose}));
    EXPECT_NE(page.find("  var img_max  =9;"), std::string::npos);
}

TEST(IndexPage, TheEleventhNameOpensTheSecondLine)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(11);
    const std::vector<std::string> block = nameBlock(writtenPage(writeIndexPage, setup.values()));
    ASSERT_EQ(block.size(), 4u);
    EXPECT_EQ(block[2], k21 + R"~( ,"p10.jpg")~");
    EXPECT_EQ(block[3], kClose);
}

TEST(IndexPage, TwentyOneNamesFillTwoLines)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(21);
    const std::vector<std::string> block = nameBlock(writtenPage(writeIndexPage, setup.values()));
    ASSERT_EQ(block.size(), 5u);
    EXPECT_EQ(block[2].substr(0, 32), k21 + R"~( ,"p10.jpg")~");
    EXPECT_EQ(block[2].substr(block[2].size() - 11), R"~( ,"p19.jpg")~");
    EXPECT_EQ(block[3], k21 + R"~( ,"p20.jpg")~");
}

TEST(IndexPage, IntervalsStandInTheScript)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg"};
    setup.Interval1 = 2500;
    setup.Interval2 = 100;
    setup.Interval3 = 999900;
    const std::vector<std::string> lines = pageLines(writtenPage(writeIndexPage, setup.values()));
    ASSERT_EQ(lines.size(), 270u);
    EXPECT_EQ(lines[15], "  var interval =2500;    // タイマー間隔");
    EXPECT_EQ(lines[229], "      case 1: interval=2500; break;");
    EXPECT_EQ(lines[230], "      case 2: interval=100; break;");
    EXPECT_EQ(lines[231], "      case 3: interval=999900; break;");
}

TEST(IndexPage, NamesAndPathsAreWrittenAsTheyAre)
{
    PageSetup setup;
    setup.ImageNames = {"my photo & co.jpg", "夏の海.jpg"};
    setup.PicturePath = "D/写真 2001/";
    const std::vector<std::string> lines = pageLines(writtenPage(writeIndexPage, setup.values()));
    ASSERT_EQ(lines.size(), 270u);
    EXPECT_EQ(lines[23], k23 + R"~("my photo & co.jpg" ,"夏の海.jpg")~");
    EXPECT_EQ(lines[38], R"~(      buff.src ="D/写真 2001/"+fnames[idx];)~");
    EXPECT_EQ(lines[119],
              R"~(      parent.MAIN.document.PIC.src="D/写真 2001/"+fnames[img_idx]; )~");
    EXPECT_EQ(lines[252], lines[119]);
}

} // namespace
} // namespace vimbrel::testing
