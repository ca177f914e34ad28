#include "viewer/pages/sum_main_page.h"

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

const std::string kRowStart = "      for(x=0; x<parent.cell_col; x++,idx++){";
const std::string kCellTest = "          if(idx<parent.img_max){";
const std::string kCellEnd = "          }";

const std::string kBareFull =
    R"~(              document.write('<TD WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+parent.fpath +parent.fnames[idx]+'"></TD>');)~";
const std::string kBareChosen =
    R"~(              document.write('<TD WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+fname+'"></TD>');)~";
const std::string kCentredFull =
    R"~(              document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+parent.fpath +parent.fnames[idx]+'">');)~";
const std::string kCentredChosen =
    R"~(              document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+fname+'">');)~";
const std::string kNameUnder =
    R"~(              if(parent.img_w>80) document.write('<BR>'+parent.fnames[idx]);)~";
const std::string kCellClose = R"~(              document.write('</TD>');)~";
const std::string kChooseSmall =
    R"~(              if (parent.snames[idx].length > 0) fname =parent.spath +parent.snames[idx];)~";
const std::string kChooseFull =
    R"~(              else                               fname =parent.fpath +parent.fnames[idx];)~";

// The lines between the cell test and its closing brace.
std::vector<std::string> pictureCell(const std::vector<std::string>& lines)
{
    size_t start = 0;
    while (start < lines.size() && lines[start] != kCellTest) {
        ++start;
    }
    size_t end = start + 1;
    while (end < lines.size() && lines[end] != kCellEnd) {
        ++end;
    }
    EXPECT_LT(end, lines.size());
    return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(start + 1, lines.size())),
            lines.begin() + static_cast<std::ptrdiff_t>(std::min(end, lines.size()))};
}

std::vector<std::string> linesFor(const PageSetup& setup)
{
    return pageLines(writtenPage(writeSumMainPage, setup.values()));
}

PageSetup withPictures(bool smallImages)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg"};
    if (smallImages) {
        setup.options.select(&Options::RdoFWork);
        setup.SmallNames = {"a.jpg"};
        setup.SmallPath = "./";
    }
    return setup;
}

TEST(SumMainPage, WithoutSmallImagesOrNamesGivesTheWholePage)
{
    EXPECT_EQ(writtenPage(writeSumMainPage, withPictures(false).values()),
              expectedPage("sum_main.htm"));
}

TEST(SumMainPage, NamesOffIgnoresTheTypeButtons)
{
    PageSetup setup = withPictures(false);
    setup.options.select(&Options::RdoSumType2);
    EXPECT_EQ(writtenPage(writeSumMainPage, setup.values()), expectedPage("sum_main.htm"));
}

TEST(SumMainPage, PictureCellForEachChoice)
{
    struct Case
    {
        bool small;
        bool names;
        bool type2;
        std::vector<std::string> cell;
    };
    const std::vector<Case> cases = {
        {false, false, false, {kBareFull}},
        {false, true, false, {kCentredFull, kNameUnder, kCellClose}},
        {false, true, true, {kBareFull}},
        {true, false, false, {kChooseSmall, kChooseFull, kBareChosen}},
        {true, true, false, {kChooseSmall, kChooseFull, kCentredChosen, kNameUnder, kCellClose}},
        {true, true, true, {kChooseSmall, kChooseFull, kBareChosen}},
    };
    for (const Case& c : cases) {
        PageSetup setup = withPictures(c.small);
        setup.options.ChkSumName = c.names;
        setup.options.select(c.type2 ? &Options::RdoSumType2 : &Options::RdoSumType1);
        EXPECT_EQ(pictureCell(linesFor(setup)), c.cell)
            << "small " << c.small << " names " << c.names << " type2 " << c.type2;
    }
}

TEST(SumMainPage, TypeTwoAddsTheNameRow)
{
    PageSetup setup = withPictures(false);
    setup.options.ChkSumName = true;
    setup.options.select(&Options::RdoSumType2);
    const std::vector<std::string> lines = linesFor(setup);
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "      idx_buf=idx;");
    EXPECT_EQ(lines[15], kRowStart);
    EXPECT_EQ(lines[24], R"~(      document.write("</TR>");)~");
    const std::vector<std::string> nameRow(lines.begin() + 25, lines.begin() + 39);
    const std::vector<std::string> expected = {
        R"~(      document.write("<TR BGCOLOR=#662222>");)~",
        "",
        "      if(idx_buf<parent.img_max && parent.img_w>80){",
        "          for(x=0; x<parent.cell_col; x++,idx_buf++){",
        "              if(idx_buf<parent.img_max){",
        R"~(                  document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'">'+parent.fnames[idx_buf]+'</TD>');)~",
        "              }",
        "              else{",
        R"~(                  document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'">　</TD>');)~",
        "              }",
        "          }",
        "      }",
        R"~(      document.write("</TR>");)~",
        "",
    };
    EXPECT_EQ(nameRow, expected);
    EXPECT_EQ(lines[39], "  }");
}

} // namespace
} // namespace vimbrel::testing
