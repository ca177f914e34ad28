#include "settings/time_mask_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(TimeMaskText, PadsToTheFourPositionsOfTheEdit)
{
    EXPECT_EQ(TimeMaskText(10), "  10");
    EXPECT_EQ(TimeMaskText(100), " 100");
    EXPECT_EQ(TimeMaskText(2), "  02");
    EXPECT_EQ(TimeMaskText(0), "  00");
    EXPECT_EQ(TimeMaskText(9), "  09");
    EXPECT_EQ(TimeMaskText(99), "  99");
    EXPECT_EQ(TimeMaskText(999), " 999");
    EXPECT_EQ(TimeMaskText(1234), "1234");
    EXPECT_EQ(TimeMaskText(12345), "12345");
}

} // namespace
} // namespace vimbrel
