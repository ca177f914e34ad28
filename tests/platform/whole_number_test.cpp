#include "platform/whole_number.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(WholeNumber, DecimalWithBlanksAndSign)
{
    EXPECT_EQ(readWholeNumber("42"), 42);
    EXPECT_EQ(readWholeNumber("  02"), 2);
    EXPECT_EQ(readWholeNumber(" 7"), 7);
    EXPECT_EQ(readWholeNumber("-5"), -5);
    EXPECT_EQ(readWholeNumber("+12"), 12);
    EXPECT_EQ(readWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(readWholeNumber("-2147483648"), INT32_MIN);
}

TEST(WholeNumber, HexadecimalForms)
{
    EXPECT_EQ(readWholeNumber("$1F"), 31);
    EXPECT_EQ(readWholeNumber("x1f"), 31);
    EXPECT_EQ(readWholeNumber("X1F"), 31);
    EXPECT_EQ(readWholeNumber("0x1F"), 31);
    EXPECT_EQ(readWholeNumber("0X10"), 16);
    EXPECT_EQ(readWholeNumber("$FFFFFFFF"), -1);
}

TEST(WholeNumber, NoNumber)
{
    for (const char* text : {"", "   ", "abc", "1 ", "1 2", "12a", "-", "+", "$", "0x", "-$1F",
                             "2147483648", "-2147483649", "$100000000", "1.5", " 0"}) {
        if (std::string_view(text) == " 0") {
            EXPECT_EQ(readWholeNumber(text), 0) << text;
            continue;
        }
        EXPECT_EQ(readWholeNumber(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(readWholeNumberOr("abc", 100), 100);
}

} // namespace
} // namespace vimbrel
