#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace vimbrel::encoding {
namespace {

TEST(TextEncoding, Utf8ToShiftJisAndBack)
{
    // 表 and ソ carry 0x5C as their second byte in code page 932.
    EXPECT_EQ(toShiftJis("表ソ"), "\x95\x5c\x83\x5c");
    EXPECT_EQ(toShiftJis("ABC &"), "ABC &");
    EXPECT_EQ(toShiftJis("ｱ"), "\xb1"); // half-width katakana is one byte
    EXPECT_EQ(toShiftJis("～"), "\x81\x60");
    EXPECT_EQ(fromShiftJis("\x95\x5c\x83\x5c"), "表ソ");
    EXPECT_EQ(fromShiftJis("\x81"), std::nullopt); // a lead byte alone
}

TEST(TextEncoding, UnencodablePiecesGoToTheCallback)
{
    std::vector<std::string> pieces;
    const std::string result = toShiftJis("a😀b\xff"
                                          "c",
                                          [&](std::string_view piece) {
                                              pieces.emplace_back(piece);
                                              return std::string("_");
                                          });
    EXPECT_EQ(result, "a_b_c");
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[0], "😀");
    EXPECT_EQ(pieces[1], "\xff");
    EXPECT_EQ(toShiftJis("😀"), "?");
    EXPECT_FALSE(fitsShiftJis("😀"));
    EXPECT_TRUE(fitsShiftJis("画像"));
}

TEST(TextEncoding, Utf8Validity)
{
    EXPECT_TRUE(isValidUtf8("画像 ok"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));         // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));     // a surrogate
    EXPECT_FALSE(isValidUtf8("\x95\x5c\x83\x5c")); // code page 932 text
    EXPECT_FALSE(isValidUtf8("\xe3\x81"));         // cut short
}

} // namespace
} // namespace vimbrel::encoding
