#include "viewer/pages/sum_frame_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

const std::string k21(21, ' ');
const std::string k23(23, ' ');
const std::string kClose = k21 + ");";

// The lines of the array that starts at `head`, up to the line holding ");".
std::vector<std::string> array(const std::vector<std::string>& lines, const std::string& head)
{
    auto first = std::find(lines.begin(), lines.end(), head);
    EXPECT_NE(first, lines.end()) << head;
    auto last = std::find_if(first, lines.end(), [](const std::string& line) {
        return line.size() >= 2 && line.substr(line.size() - 2) == ");";
    });
    return {first == lines.end() ? first : first + 1, last == lines.end() ? last : last + 1};
}

const std::string kNames = "var fnames =new Array( // 元画像ファイル名";
const std::string kSmall = "var snames =new Array( // 小画像ファイル名";

TEST(SumFramePage, ThreePicturesWithoutSmallImagesGiveTheWholePage)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg", "b.jpg", "c.jpg"};
    EXPECT_EQ(writtenPage(writeSumFramePage, setup.values()), expectedPage("sum_frame.htm"));
}

TEST(SumFramePage, SmallImagesAddTheirPrefixAndNames)
{
    PageSetup setup;
    setup.ImageNames = {"a.bmp", "b.gif"};
    setup.SmallNames = {"a.jpg", ""};
    setup.SmallPath = "../../pics/img_s/";
    setup.options.select(&Options::RdoFDwon);
    const std::vector<std::string> lines =
        pageLines(writtenPage(writeSumFramePage, setup.values()));
    ASSERT_EQ(lines.size(), 88u);
    EXPECT_EQ(lines[16], R"~(var fpath    ="../../pics/";       // ファイルパス)~");
    EXPECT_EQ(lines[17], R"~(var spath    ="../../pics/img_s/";       // 小画像ファイルパス)~");
    EXPECT_EQ(lines[18], "");
    EXPECT_EQ(lines[19], kNames);
    EXPECT_EQ(lines[20], k23 + R"~("a.bmp" ,"b.gif")~" + kClose);
    EXPECT_EQ(lines[21], kSmall);
    EXPECT_EQ(lines[22], k23 + R"~("a.jpg" ,"")~" + kClose);
    EXPECT_EQ(lines[23], "");
    EXPECT_EQ(lines[24], "//=====================================================");
}

TEST(SumFramePage, OnePictureIsOneLineClosedAfterIt)
{
    PageSetup setup;
    setup.ImageNames = {"夏 & 冬.jpg"};
    const std::vector<std::string> lines =
        pageLines(writtenPage(writeSumFramePage, setup.values()));
    EXPECT_EQ(array(lines, kNames), (std::vector<std::string>{k23 + "\"夏 & 冬.jpg\"" + kClose}));
    EXPECT_EQ(lines[9], "var img_max  =1;     // 画像最終位置");
}

TEST(SumFramePage, TenPicturesCloseOnALineOfFortyTwoBlanks)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(10);
    setup.SmallNames = numberedNames(10);
    setup.SmallPath = "./";
    setup.options.select(&Options::RdoFWork);
    const std::vector<std::string> lines =
        pageLines(writtenPage(writeSumFramePage, setup.values()));
    const std::vector<std::string> expected{
        k23 + R"~("p00.jpg" ,"p01.jpg" ,"p02.jpg" ,"p03.jpg" ,"p04.jpg" ,"p05.jpg" ,)~"
              R"~("p06.jpg" ,"p07.jpg" ,"p08.jpg" ,"p09.jpg")~",
        std::string(42, ' ') + ");"};
    EXPECT_EQ(array(lines, kNames), expected);
    EXPECT_EQ(array(lines, kSmall), expected);
}

TEST(SumFramePage, TheEleventhPictureClosesTheSecondLine)
{
    PageSetup setup;
    setup.ImageNames = numberedNames(11);
    const std::vector<std::string> names =
        array(pageLines(writtenPage(writeSumFramePage, setup.values())), kNames);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1], k21 + R"~( ,"p10.jpg")~" + kClose);
}

TEST(SumFramePage, PageCountRoundsUpByTwentyFour)
{
    for (const auto& [pictures, pages] : {std::pair{24, 1}, {25, 2}, {48, 2}, {49, 3}}) {
        PageSetup setup;
        setup.ImageNames = numberedNames(pictures);
        const std::vector<std::string> lines =
            pageLines(writtenPage(writeSumFramePage, setup.values()));
        ASSERT_GT(lines.size(), 12u);
        EXPECT_EQ(lines[9], "var img_max  =" + std::to_string(pictures) + ";     // 画像最終位置");
        EXPECT_EQ(lines[12], "var page_max =" + std::to_string(pages) + ";       // 最大ページ");
    }
}

} // namespace
} // namespace vimbrel::testing
