#include "rename/new_name.h"

#include <gtest/gtest.h>

#include "rename/sample_text.h"

namespace vimbrel {
namespace {

TEST(NewNameTest, SampleFollowsPrefixPaddingAndWidth)
{
    Options options;
    EXPECT_EQ(SampleText(options, "1"), "Sample0001.TXT");
    EXPECT_EQ(SampleText(options, "12345"), "Sample12345.TXT"); // never cut
    EXPECT_EQ(SampleText(options, ""), "Sample0000.TXT");       // emptied spin box
    options.SpinKeta = 9;
    EXPECT_EQ(SampleText(options, "1"), "Sample000000001.TXT");
    options.SpinKeta = 0;
    EXPECT_EQ(SampleText(options, "1"), "Sample1.TXT");
    options.SpinKeta = 4;
    options.ChkZero = false;
    EXPECT_EQ(SampleText(options, "1"), "Sample1.TXT");
    options.ChkZero = true;
    options.EditFHead = "";
    EXPECT_EQ(SampleText(options, "1"), "0001.TXT");
}

TEST(NewNameTest, KeepsTheLastExtensionAsItStands)
{
    const Options options;
    EXPECT_EQ(MakeNewName(options, "photo.JPG", "7"), "Sample0007.JPG");
    EXPECT_EQ(MakeNewName(options, "a.b.jpeg", "1"), "Sample0001.jpeg");
    EXPECT_EQ(MakeNewName(options, "README", "1"), "Sample0001");
    EXPECT_EQ(MakeNewName(options, ".profile", "1"), "Sample0001.profile");
}

TEST(NewNameTest, WidthFromOutsideItsRangeIsHeldInIt)
{
    Options options;
    options.SpinKeta = 1000000;
    EXPECT_EQ(MakeNewName(options, "a.jpg", "1"), "Sample000000001.jpg");
    options.SpinKeta = -3;
    EXPECT_EQ(MakeNewName(options, "a.jpg", "1"), "Sample1.jpg");
}

} // namespace
} // namespace vimbrel
