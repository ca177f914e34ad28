#include "viewer/pages/intervals.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(Intervals, EditTextsAreTenthsOfASecond)
{
    EXPECT_EQ(IntervalMilliseconds("  10"), 1000);
    EXPECT_EQ(IntervalMilliseconds(" 100"), 10000);
    EXPECT_EQ(IntervalMilliseconds("  02"), 200);
    EXPECT_EQ(IntervalMilliseconds("9999"), 999900);
    EXPECT_EQ(IntervalMilliseconds("   0"), 0);
}

TEST(Intervals, NoNumberCountsAsOneTenth)
{
    EXPECT_EQ(IntervalMilliseconds(""), 100);
    EXPECT_EQ(IntervalMilliseconds("    "), 100);
    EXPECT_EQ(IntervalMilliseconds(" 1 0"), 100);
    EXPECT_EQ(IntervalMilliseconds("1.5"), 100);
}

TEST(Intervals, ValuesTheEditCannotHoldStaySafe)
{
    EXPECT_EQ(IntervalMilliseconds("-20"), 100);
    EXPECT_EQ(IntervalMilliseconds("2147483647"), int64_t{214748364700});
}

TEST(Intervals, TextShowsSecondsWithOneDecimal)
{
    EXPECT_EQ(IntervalText(1000), "1.0");
    EXPECT_EQ(IntervalText(10000), "10.0");
    EXPECT_EQ(IntervalText(200), "0.2");
    EXPECT_EQ(IntervalText(12300), "12.3");
    EXPECT_EQ(IntervalText(150), "0.1");
    EXPECT_EQ(IntervalText(0), "0.0");
}

} // namespace
} // namespace vimbrel
