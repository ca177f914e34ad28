#include "viewer/pages/main_page.h"

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"

namespace vimbrel::testing {
namespace {

TEST(MainPage, ShowsTheFirstPicture)
{
    PageSetup setup;
    setup.ImageNames = {"夏 & 冬.jpg", "b.jpg"};
    EXPECT_EQ(writtenPage(writeMainPage, setup.values()),
              "<HTML>\r\n<HEAD>\r\n<TITLE>画像表示メインフレーム</TITLE>\r\n</HEAD>\r\n"
              "<BODY BGCOLOR=\"#FFFFFF\" OnLoad=\"parent.ImgSelect(0)\">\r\n"
              "<TABLE BORDER=\"0\" CELLSPACING=\"0\" CELLPADDING=\"0\" WIDTH=\"100%\" "
              "HEIGHT=\"100%\">\r\n"
              "<TR><TD ALIGN=\"center\" VALIGN=\"middle\">\r\n"
              "    <IMG SRC=\"../../pics/夏 & 冬.jpg\" NAME=\"PIC\">\r\n"
              "</TD></TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
}

} // namespace
} // namespace vimbrel::testing
