#include "viewer/server/page_helper.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(PageHelper, TheScriptGoesRightAfterHeadAndTheRestStaysByteForByte)
{
    const std::string tag = "<SCRIPT SRC=\"/t~/helper.js\"></SCRIPT>";
    // Shift-JIS bytes around, as the pages hold them.
    const std::string page = "<HTML>\r\n<HEAD><TITLE>\x89\xe6\x91\x9c</TITLE></HEAD>\r\n";
    EXPECT_EQ(page_helper::withHelper(page, "/t~/helper.js"),
              "<HTML>\r\n<HEAD>" + tag + "<TITLE>\x89\xe6\x91\x9c</TITLE></HEAD>\r\n");
    EXPECT_EQ(page_helper::withHelper("<html><head>x", "/t~/helper.js"),
              "<html><head>" + tag + "x");
    // Without a head: at the start.
    EXPECT_EQ(page_helper::withHelper("<BODY>x</BODY>", "/t~/helper.js"), tag + "<BODY>x</BODY>");
    EXPECT_EQ(page_helper::withHelper("", "/t~/helper.js"), tag);
}

TEST(PageHelper, OnlyTheSevenViewerPagesAndTheScriptNamesItsAddress)
{
    for (const char* name : {"index.htm", "menu.htm", "btns.htm", "main.htm", "sum_frame.htm",
                             "sum_head.htm", "sum_main.htm"}) {
        EXPECT_TRUE(page_helper::isViewerPage(name)) << name;
    }
    for (const char* name : {"INDEX.HTM", "index.html", "a.htm", "open-viewer.html", ""}) {
        EXPECT_FALSE(page_helper::isViewerPage(name)) << name;
    }
    const std::string script = page_helper::script("/tok~/", 60);
    EXPECT_NE(script.find("var base = '/tok~/';"), std::string::npos);
    EXPECT_NE(script.find("var beatSeconds = 60;"), std::string::npos);
    EXPECT_EQ(script.find('@'), std::string::npos);
    EXPECT_FALSE(page_helper::version().empty());
}

} // namespace
} // namespace vimbrel
