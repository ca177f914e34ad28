#include "viewer/pictures/jpeg_encoder.h"

#include <gtest/gtest.h>

#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"
#include "viewer/small_images/small_image_run.h"

namespace vimbrel {
namespace {

// The example tables of the JPEG standard (ITU T.81, Annex K), row by row.
constexpr int kStandardLuminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kStandardChrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Quality 90 on the IJG scale multiplies the standard tables by 20 %.
std::vector<int> quality90(const int (&table)[64])
{
    std::vector<int> scaled;
    for (int value : table) {
        scaled.push_back(std::clamp((value * 20 + 50) / 100, 1, 255));
    }
    return scaled;
}

TEST(JpegEncoder, WritesBaselineJfifYcbcr420AtQuality90WithStandardTables)
{
    testing::TempFolder temp;
    const std::string pictures = temp.makeFolder("p");
    const std::string small = temp.makeFolder("s");
    testing::writeJpeg(pictures + "a.jpg", testing::blockPicture(400, 300, 100));
    testing::RecordingInterface ui;
    ASSERT_EQ(MakeSmallImages({"a.jpg"}, {pictures, small, false}, ui).SmallNames,
              std::vector<std::string>{"a.jpg"});

    const testing::JpegFacts facts = testing::readJpeg(small + "a.jpg");
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, 100);
    EXPECT_EQ(facts.height, 75);
    EXPECT_EQ(facts.components, 3);
    EXPECT_TRUE(facts.ycbcr);
    EXPECT_TRUE(facts.jfif);
    EXPECT_FALSE(facts.progressive);
    EXPECT_TRUE(testing::hasBaselineFrame(testing::readFile(small + "a.jpg")));
    EXPECT_EQ(facts.restartInterval, 0);
    EXPECT_EQ(facts.sampling, (std::vector<int>{2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(facts.luminanceTable, quality90(kStandardLuminance));
    EXPECT_EQ(facts.chrominanceTable, quality90(kStandardChrominance));
    // The standard DC luminance code: one code of 2 bits, five of 3, then one each.
    EXPECT_EQ(facts.dcLuminanceBits,
              (std::vector<int>{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));

    // Each 100-pixel block became a 25-pixel block of its own colour.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRgb got = facts.pixels.pixel(column * 25 + 12, row * 25 + 12);
            EXPECT_LE(testing::colourDistance(got, testing::blockColour(column, row)), 8)
                << column << "," << row;
        }
    }
}

TEST(JpegEncoder, OneEncoderServesManyPicturesAndRefusesAnEmptyOne)
{
    JpegEncoder encoder;
    std::vector<std::uint8_t> pixels(100 * 50 * 3, 128);
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> second;
    EXPECT_FALSE(encoder.encode(pixels.data(), 100, 0, first));
    EXPECT_TRUE(first.empty());
    ASSERT_TRUE(encoder.encode(pixels.data(), 100, 50, first));
    ASSERT_TRUE(encoder.encode(pixels.data(), 100, 50, second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(first[0], 0xFF);
    EXPECT_EQ(first[1], 0xD8);
}

} // namespace
} // namespace vimbrel
