#include "viewer/pages/page_text.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "tests/support/page_test_support.h"
#include "viewer/pages/index_page.h"
#include "viewer/pages/main_page.h"
#include "viewer/pages/menu_page.h"
#include "viewer/pages/sum_frame_page.h"

namespace vimbrel {
namespace {

using namespace page;

TEST(PageText, OrdinaryNamesStayByteForByteInEveryPlace)
{
    for (const std::string name :
         {"IMG_0001.JPG", "a b.jpg", "a&b.jpg", "R&D.jpg", "a & b.jpg", "it's.jpg", "a<3.jpg",
          "表ソ能.jpg", "ｱｲｳｴｵ.jpg", "～全角.jpg", "../../pics/"}) {
        EXPECT_EQ(inUrl(name), name);
        EXPECT_EQ(inScriptString(name), name);
        EXPECT_EQ(inAttribute(name), name);
        EXPECT_EQ(inText(name), name);
        EXPECT_EQ(inMarkup(name), name);
    }
}

TEST(PageText, UrlsEscapeWhatWouldCutOrBendThePath)
{
    EXPECT_EQ(inUrl("a#b?c%d\\e.jpg"), "a%23b%3Fc%25d%5Ce.jpg");
    EXPECT_EQ(inUrl(" a b.jpg "), "%20a b.jpg%20"); // browsers drop blanks at the ends
    EXPECT_EQ(inUrl("tab\tline\nret\r\x7F.jpg"), "tab%09line%0Aret%0D%7F.jpg");
    EXPECT_EQ(inUrl("\xFF\x95\\.jpg"), "%FF%95%5C.jpg"); // bytes that are not UTF-8
    EXPECT_EQ(inUrl("😀.jpg"), "😀.jpg");                  // left to the enclosing place
}

TEST(PageText, ScriptStringsEscapeQuotesBackslashesAndBreaks)
{
    EXPECT_EQ(inScriptString("a\"b\\c.jpg"), "a\\\"b\\\\c.jpg");
    EXPECT_EQ(inScriptString("one\ntwo\r\x01"), "one\\ntwo\\r\\x01");
    EXPECT_EQ(inScriptString("a</SCRIPT>b<!--c<d"), "a\\x3C/SCRIPT>b\\x3C!--c<d");
    EXPECT_EQ(inScriptString("😀"), "\\uD83D\\uDE00");
    EXPECT_EQ(inScriptString("¥‾〜−"), "\\u00A5\\u203E\\u301C\\u2212");
    EXPECT_EQ(inScriptString("x\xFFy"), "x\\uFFFDy");
}

TEST(PageText, SecondByte0x5CIsNeverTakenForABackslash)
{
    // 表 and ソ end in the byte of "\" in code page 932; the browser decodes
    // the page before the script sees it, so only the real backslash and the
    // quote get one.
    const std::string written = encoding::toShiftJis(inScriptString("表ソ\\\""));
    EXPECT_EQ(written, "\x95\x5C\x83\x5C\\\\\\\"");
    EXPECT_EQ(encoding::toShiftJis(inUrl("表\\")), "\x95\x5C%5C");
}

TEST(PageText, HtmlPlacesEscapeReferencesQuotesAndTags)
{
    EXPECT_EQ(inAttribute("a\"b.jpg"), "a&quot;b.jpg");
    EXPECT_EQ(inText("a\"b.jpg"), "a\"b.jpg");
    for (const auto& [name, escaped] : std::vector<std::pair<std::string, std::string>>{
             {"&amp.jpg", "&amp;amp.jpg"},
             {"&copy2.jpg", "&amp;copy2.jpg"},
             {"&#35;.jpg", "&amp;#35;.jpg"},
             {"&xyz;.jpg", "&amp;xyz;.jpg"},
             {"a&b;c", "a&amp;b;c"},
         }) {
        EXPECT_EQ(inAttribute(name), escaped) << name;
        EXPECT_EQ(inText(name), escaped) << name;
        EXPECT_EQ(inMarkup(name), escaped) << name;
    }
    EXPECT_EQ(inText("<b>a</b><!x<?y"), "&lt;b>a&lt;/b>&lt;!x&lt;?y");
    EXPECT_EQ(inAttribute("<b>"), "<b>");
    EXPECT_EQ(inMarkup("<i>\"q\""), "&lt;i>&quot;q&quot;");
    EXPECT_EQ(inText("😀¥\xFF\n"), "&#x1F600;&#xA5;&#xFFFD;&#10;");
    EXPECT_EQ(inAttribute("😀\t"), "&#x1F600;&#9;");
    EXPECT_EQ(inMarkup("😀"), "😀"); // left to the script string around it
}

TEST(PageText, OnlyCharactersThatComeBackUnchangedFitThePage)
{
    for (const std::string fits : {"a", "\\", "~", "表", "ソ", "ｱ", "～", "－", "∥", "￠", "①"}) {
        EXPECT_TRUE(fitsPage(fits)) << fits;
    }
    for (const std::string lost : {"😀", "¥", "‾", "〜", "−", "‖", "¢", "¬", "é", "\u2028"}) {
        EXPECT_FALSE(fitsPage(lost)) << lost;
    }
}

// The writers use the places above; a few whole lines show that they do.
TEST(PageText, PagesCarryOddNamesInTheFormOfEachPlace)
{
    testing::PageSetup setup;
    setup.ImageNames = {"a#\"\\😀.jpg", "表.jpg"};
    setup.SmallNames = {"a#\"\\😀.jpg", ""};
    setup.SmallPath = "./";
    setup.options.select(&Options::RdoFWork);

    const auto index = testing::pageLines(testing::writtenPage(writeIndexPage, setup.values()));
    EXPECT_NE(std::find(index.begin(), index.end(),
                        std::string(23, ' ') + R"("a%23\"%5C\uD83D\uDE00.jpg" ,"表.jpg")"),
              index.end());

    const auto main = testing::pageLines(testing::writtenPage(writeMainPage, setup.values()));
    EXPECT_EQ(main[7], R"(    <IMG SRC="../../pics/a%23&quot;%5C&#x1F600;.jpg" NAME="PIC">)");

    const auto menu = testing::pageLines(testing::writtenPage(writeMenuPage, setup.values()));
    EXPECT_EQ(menu[7], "<TR><TD><A HREF=\"javascript:function voi(){};voi()\" "
                       "onClick=parent.ImgSelect(0)>a#\"\\&#x1F600;.jpg</A></TD></TR>");

    // In the thumbnail window the first picture's name is only shown (its
    // small image is loaded), the second's is loaded as well.
    const auto frame = testing::pageLines(testing::writtenPage(writeSumFramePage, setup.values()));
    EXPECT_NE(std::find(frame.begin(), frame.end(),
                        std::string(23, ' ') + R"("a#&quot;\\\uD83D\uDE00.jpg" ,"表.jpg")" +
                            std::string(21, ' ') + ");"),
              frame.end());
    EXPECT_NE(std::find(frame.begin(), frame.end(),
                        std::string(23, ' ') + R"("a%23&quot;%5C\uD83D\uDE00.jpg" ,"")" +
                            std::string(21, ' ') + ");"),
              frame.end());
}

} // namespace
} // namespace vimbrel
