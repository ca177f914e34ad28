#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::testing {
namespace {

// Every button image that btns.htm names lies in Img/ as a GIF 16 pixels wide.
TEST(ButtonImages, EveryImageOfTheButtonPageIsASixteenPixelGif)
{
    const std::string page = expectedPage("btns.htm");
    const std::regex image("Btn[A-Za-z0-9]+\\.gif");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), image);
         it != std::sregex_iterator(); ++it) {
        names.insert(it->str());
    }
    ASSERT_EQ(names.size(), 20u);
    const std::string folder = sourceFolder() + "/Img/";
    for (const std::string& name : names) {
        const std::string gif = readFile(folder + name);
        ASSERT_GE(gif.size(), 10u) << name;
        EXPECT_TRUE(gif.compare(0, 6, "GIF89a") == 0 || gif.compare(0, 6, "GIF87a") == 0) << name;
        const int width = static_cast<unsigned char>(gif[6]) | static_cast<unsigned char>(gif[7])
                                                                   << 8;
        EXPECT_EQ(width, 16) << name;
    }
}

} // namespace
} // namespace vimbrel::testing
