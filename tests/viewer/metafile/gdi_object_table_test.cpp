#include "viewer/metafile/gdi_object_table.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(GdiObjectTable, NewObjectsTakeTheLowestFreeSlot)
{
    GdiObjectTable table(3);
    ASSERT_TRUE(table.add(GdiPen{}));
    ASSERT_TRUE(table.add(GdiBrush{}));
    ASSERT_TRUE(table.add(GdiFont{}));
    ASSERT_TRUE(table.remove(1));
    EXPECT_EQ(table.get(1), nullptr);
    ASSERT_TRUE(table.add(GdiPalette{}));
    ASSERT_NE(table.get(1), nullptr);
    EXPECT_TRUE(std::holds_alternative<GdiPalette>(*table.get(1)));

    // A file that declared too few slots still gets its objects.
    ASSERT_TRUE(table.add(GdiRegion{}));
    EXPECT_EQ(table.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<GdiRegion>(*table.get(3)));
}

TEST(GdiObjectTable, NamedSlotsOutsideTheTableAreRefused)
{
    GdiObjectTable table(2);
    EXPECT_TRUE(table.put(1, GdiPen{}));
    EXPECT_FALSE(table.put(2, GdiPen{}));
    EXPECT_FALSE(table.remove(7));
    EXPECT_EQ(table.get(0xffffffffu), nullptr);
    EXPECT_FALSE(table.inRange(2));
}

} // namespace
} // namespace vimbrel
