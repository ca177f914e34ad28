#include "rename/highest_number.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(HighestNumberTest, TakesNumberedNamesOutAndReturnsTheHighest)
{
    const Options options;
    std::vector<std::string> names = {"sample0003.jpg", "SAMPLE12.gif", "Sample0002",
                                      "Sample.jpg",     "Samplea1.jpg", "Sample12 .jpg"};
    EXPECT_EQ(FindHighestNumber(options, names), 12);
    EXPECT_EQ(names, (std::vector<std::string>{"Sample.jpg", "Samplea1.jpg", "Sample12 .jpg"}));
}

TEST(HighestNumberTest, ReadsTheRestAsAWholeNumber)
{
    const Options options;
    std::vector<std::string> names = {"Sample-1.jpg", "Sample-5.jpg", "Sample 7.jpg", "b.jpg"};
    EXPECT_EQ(FindHighestNumber(options, names), 7);
    EXPECT_EQ(names, (std::vector<std::string>{"Sample-1.jpg", "b.jpg"}));

    names = {"Sample$1F.jpg", "Samplex1f.png"};
    EXPECT_EQ(FindHighestNumber(options, names), 31);
    EXPECT_TRUE(names.empty());

    names = {"Sample99999999999.jpg", "Sample2147483647.jpg"}; // the first does not fit
    EXPECT_EQ(FindHighestNumber(options, names), 2147483647);
    EXPECT_EQ(names, (std::vector<std::string>{"Sample99999999999.jpg"}));
}

TEST(HighestNumberTest, NothingNumberedGivesZero)
{
    Options options;
    std::vector<std::string> names;
    EXPECT_EQ(FindHighestNumber(options, names), 0);
    names = {"a.jpg", "Sample"};
    EXPECT_EQ(FindHighestNumber(options, names), 0);
    EXPECT_EQ(names.size(), 2U);

    options.EditFHead = "";
    names = {"0004.jpg", "a.jpg", "12"};
    EXPECT_EQ(FindHighestNumber(options, names), 12);
    EXPECT_EQ(names, (std::vector<std::string>{"a.jpg"}));
}

} // namespace
} // namespace vimbrel
