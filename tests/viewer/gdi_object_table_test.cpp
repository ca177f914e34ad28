#include "viewer/gdi_object_table.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(GdiObjectTable, NewObjectsTakeTheLowestFreeSlot)
{
    GdiObjectTable table(3);
    ASSERT_TRUE(table.add(PenSpec{}));
    ASSERT_TRUE(table.add(BrushSpec{}));
    ASSERT_TRUE(table.add(FontSpec{}));
    ASSERT_TRUE(table.remove(1));
    EXPECT_EQ(table.get(1), nullptr);
    ASSERT_TRUE(table.add(PaletteSpec{}));
    ASSERT_NE(table.get(1), nullptr);
    EXPECT_TRUE(std::holds_alternative<PaletteSpec>(*table.get(1)));

    // A file that declared too few slots still gets its objects.
    ASSERT_TRUE(table.add(RegionSpec{}));
    EXPECT_EQ(table.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<RegionSpec>(*table.get(3)));
}

TEST(GdiObjectTable, NamedSlotsOutsideTheTableAreRefused)
{
    GdiObjectTable table(2);
    EXPECT_TRUE(table.put(1, PenSpec{}));
    EXPECT_FALSE(table.put(2, PenSpec{}));
    EXPECT_FALSE(table.remove(7));
    EXPECT_EQ(table.get(0xffffffffu), nullptr);
    EXPECT_FALSE(table.inRange(2));
}

} // namespace
} // namespace vimbrel
