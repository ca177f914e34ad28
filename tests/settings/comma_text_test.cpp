#include "settings/comma_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

using Entries = std::vector<std::string>;

TEST(CommaText, QuotesOnlyEntriesThatNeedIt)
{
    EXPECT_EQ(joinCommaText({"JPEG", "JPG", "GIF", "BMP"}), "JPEG,JPG,GIF,BMP");
    EXPECT_EQ(joinCommaText({"My Pictures", "a,b", "say \"hi\"", "tab\there", "\x01"}),
              "\"My Pictures\",\"a,b\",\"say \"\"hi\"\"\",\"tab\there\",\"\x01\"");
    // Bytes of multi-byte characters are above 32 and need no quotes.
    EXPECT_EQ(joinCommaText({"写真", "ｶﾒﾗ"}), "写真,ｶﾒﾗ");
}

TEST(CommaText, EmptyListsAndEmptyEntries)
{
    EXPECT_EQ(joinCommaText({}), "");
    EXPECT_EQ(joinCommaText({""}), "\"\"");
    EXPECT_EQ(joinCommaText({"a", ""}), "a,");
    EXPECT_EQ(joinCommaText({"", "a"}), ",a");
    EXPECT_EQ(splitCommaText(""), Entries{});
    EXPECT_EQ(splitCommaText("   "), Entries{});
    EXPECT_EQ(splitCommaText("\"\""), Entries{""});
    EXPECT_EQ(splitCommaText(","), (Entries{"", ""}));
    EXPECT_EQ(splitCommaText("a,,b"), (Entries{"a", "", "b"}));
}

TEST(CommaText, ReadingSkipsBlanksAndSplitsAtUnquotedOnes)
{
    EXPECT_EQ(splitCommaText("  JPEG , JPG\t,GIF  "), (Entries{"JPEG", "JPG", "GIF"}));
    EXPECT_EQ(splitCommaText("JPG PNG"), (Entries{"JPG", "PNG"}));
    EXPECT_EQ(splitCommaText("\"My Pictures\",x"), (Entries{"My Pictures", "x"}));
    EXPECT_EQ(splitCommaText("\"say \"\"hi\"\"\""), Entries{"say \"hi\""});
    // A quoted entry without its closing quote runs to the end.
    EXPECT_EQ(splitCommaText("a,\"open end"), (Entries{"a", "open end"}));
    // Text right after a closing quote starts the next entry.
    EXPECT_EQ(splitCommaText("\"a\"b"), (Entries{"a", "b"}));
    // The text ends at a NUL byte.
    EXPECT_EQ(splitCommaText(std::string_view("a,b\0,c", 6)), (Entries{"a", "b"}));
}

TEST(CommaText, TrailingCommaAddsOneEmptyEntryOnlyAtTheVeryEnd)
{
    EXPECT_EQ(splitCommaText("a,"), (Entries{"a", ""}));
    EXPECT_EQ(splitCommaText("a, "), Entries{"a"});
}

TEST(CommaText, RoundTripsAwkwardLists)
{
    const std::vector<Entries> lists = {
        {""},        {"a", ""},     {"", ""}, {"\"", ","}, {" lead", "trail ", "in side"},
        {"a\"b\"c"}, {"写真 2024"},
    };
    for (const Entries& list : lists) {
        EXPECT_EQ(splitCommaText(joinCommaText(list)), list) << joinCommaText(list);
    }
}

} // namespace
} // namespace vimbrel
