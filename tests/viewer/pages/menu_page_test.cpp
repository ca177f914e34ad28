#include "viewer/pages/menu_page.h"

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

std::string menuPage(const std::string& tableHead, const std::string& entries)
{
    return "<HTML>\r\n<HEAD>\r\n<TITLE>メニューフレーム</TITLE>\r\n</HEAD>\r\n"
           "<BODY BGCOLOR=\"#FFFFFF\">\r\n<CENTER>\r\n" +
           tableHead + "\r\n" + entries + "</TABLE>\r\n</CENTER>\r\n</BODY>\r\n</HTML>\r\n";
}

const std::string kPlainHead = R"~(<TABLE BORDER="0" CELLSPACING="0">)~";
const std::string kPictureHead = R"~(<TABLE BORDER="0" CELLSPACING="0" CELLPADDING="5">)~";

TEST(MenuPage, FileNamesByDefault)
{
    PageSetup setup;
    setup.ImageNames = {"a b&c.jpg", "写真.jpg"};
    EXPECT_EQ(writtenPage(writeMenuPage, setup.values()),
              menuPage(kPlainHead, "<TR><TD><A HREF=\"javascript:function voi(){};voi()\" "
                                   "onClick=parent.ImgSelect(0)>a b&c.jpg</A></TD></TR>\r\n"
                                   "<TR><TD><A HREF=\"javascript:function voi(){};voi()\" "
                                   "onClick=parent.ImgSelect(1)>写真.jpg</A></TD></TR>\r\n"));
}

TEST(MenuPage, FileNamesWhenNoStyleIsChosen)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg"};
    setup.options.RdoFile = false;
    EXPECT_EQ(writtenPage(writeMenuPage, setup.values()),
              menuPage(kPlainHead, "<TR><TD><A HREF=\"javascript:function voi(){};voi()\" "
                                   "onClick=parent.ImgSelect(0)>a.jpg</A></TD></TR>\r\n"));
}

TEST(MenuPage, NumbersCountFromOneAndSelectFromZero)
{
    PageSetup setup;
    setup.ImageNames = {"a.jpg", "b.jpg"};
    setup.options.select(&Options::RdoNum);
    EXPECT_EQ(writtenPage(writeMenuPage, setup.values()),
              menuPage(kPlainHead,
                       "<TR><TD ALIGN=\"right\"><A HREF=\"javascript:function voi(){};voi()\" "
                       "onClick=parent.ImgSelect(0)>1</A></TD></TR>\r\n"
                       "<TR><TD ALIGN=\"right\"><A HREF=\"javascript:function voi(){};voi()\" "
                       "onClick=parent.ImgSelect(1)>2</A></TD></TR>\r\n"));
}

TEST(MenuPage, PicturesUseTheSmallImageWhereThereIsOne)
{
    PageSetup setup;
    setup.ImageNames = {"big.bmp", "tiny.jpg"};
    setup.SmallNames = {"big.jpg", ""};
    setup.SmallPath = "./";
    setup.options.select(&Options::RdoPic);
    setup.options.select(&Options::RdoFWork);
    EXPECT_EQ(writtenPage(writeMenuPage, setup.values()),
              menuPage(kPictureHead,
                       "<TR><TD><IMG SRC=\"./big.jpg\" WIDTH=60 onClick=parent.ImgSelect(0) "
                       "></TD></TR>\r\n"
                       "<TR><TD><IMG SRC=\"../../pics/tiny.jpg\" WIDTH=60 "
                       "onClick=parent.ImgSelect(1) ></TD></TR>\r\n"));
}

TEST(MenuPage, PicturesWithoutSmallImagesIgnoreTheSmallNames)
{
    PageSetup setup;
    setup.ImageNames = {"big.bmp"};
    setup.SmallNames = {"stale.jpg"}; // left from an earlier run
    setup.SmallPath = "./";
    setup.options.select(&Options::RdoPic);
    EXPECT_EQ(writtenPage(writeMenuPage, setup.values()),
              menuPage(kPictureHead, "<TR><TD><IMG SRC=\"../../pics/big.bmp\" WIDTH=60 "
                                     "onClick=parent.ImgSelect(0) ></TD></TR>\r\n"));
}

} // namespace
} // namespace vimbrel::testing
