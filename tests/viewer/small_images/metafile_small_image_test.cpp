#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"
#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_metafiles.h"
#include "tests/support/test_pictures.h"
#include "viewer/metafile/metafile_picture.h"
#include "viewer/small_images/small_image_run.h"

namespace vimbrel {
namespace {

// Metafile pictures go through the same small image maker as every other
// picture: drawn at their own size, then made 100 pixels wide.
class MetafileSmallImageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_viewer";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr) {
            sApplication = new QGuiApplication(argc, argv);
        }
    }
    static void TearDownTestSuite()
    {
        delete sApplication;
        sApplication = nullptr;
    }

    // Copies a seed picture of the fuzz corpus into the picture folder.
    std::string seed(const std::string& file, const std::string& as)
    {
        std::filesystem::copy_file(testing::sourceFolder() + "/fuzz/seeds/metafile/" + file,
                                   mPictures + as);
        return as;
    }

    void SetUp() override { seed("shapes.wmf", "seed.wmf"); }

    static QGuiApplication* sApplication;
    testing::TempFolder mTemp;
    std::string mPictures = mTemp.makeFolder("pictures");
    std::string mSmall = mTemp.makeFolder("pictures/img_s");
    testing::RecordingInterface mUi;
};

QGuiApplication* MetafileSmallImageTest::sApplication = nullptr;

// A placeable WMF of 400 x 200 pixels (96 units per inch) holding one red
// rectangle over its whole area, written record by record.
std::string wideRedWmf()
{
    std::string bytes;
    const auto u16 = [&](unsigned value) {
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    };
    const auto u32 = [&](unsigned value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    };
    // Placeable header: key, handle, bounding box, units per inch, reserved,
    // then the XOR of the ten words before it.
    u32(0x9AC6CDD7);
    u16(0);
    for (const unsigned side : {0U, 0U, 400U, 200U}) {
        u16(side);
    }
    u16(96);
    u32(0);
    unsigned checksum = 0;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        checksum ^= static_cast<unsigned char>(bytes[i]) |
                    (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    }
    u16(checksum);
    // Records as (function, parameter words).
    const std::vector<std::pair<unsigned, std::vector<unsigned>>> records = {
        {0x020B, {0, 0}},                 // SetWindowOrg y, x
        {0x020C, {200, 400}},             // SetWindowExt y, x
        {0x02FC, {0, 0x00FF, 0x0000, 0}}, // CreateBrushIndirect solid, COLORREF red, hatch
        {0x012D, {0}},                    // SelectObject 0
        {0x041B, {200, 400, 0, 0}},       // Rectangle bottom, right, top, left
        {0x0000, {}},                     // end of file
    };
    unsigned words = 9;
    unsigned largest = 0;
    for (const auto& record : records) {
        const unsigned size = 3 + static_cast<unsigned>(record.second.size());
        words += size;
        largest = std::max(largest, size);
    }
    // Standard header: type, header size, version, size in words, objects,
    // largest record, no members.
    u16(1);
    u16(9);
    u16(0x0300);
    u32(words);
    u16(1);
    u32(largest);
    u16(0);
    for (const auto& [function, parameters] : records) {
        u32(3 + static_cast<unsigned>(parameters.size()));
        u16(function);
        for (const unsigned parameter : parameters) {
            u16(parameter);
        }
    }
    return bytes;
}

TEST_F(MetafileSmallImageTest, WideMetafileGetsASmallImageOfWhatItDraws)
{
    mTemp.write("pictures/wide.WMF", wideRedWmf());
    const QImage drawn = loadMetafilePicture(mPictures + "wide.WMF");
    ASSERT_EQ(drawn.size(), QSize(400, 200));
    const SmallImageResult result =
        MakeSmallImages({"wide.WMF", "seed.wmf"}, {mPictures, mSmall, false}, mUi);
    // The seed picture is drawn 100 pixels wide, so it gets none.
    ASSERT_EQ(result.SmallNames, (std::vector<std::string>{"wide.jpg", ""}));
    const testing::JpegFacts facts = testing::readJpeg(mSmall + "wide.jpg");
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, 100);
    EXPECT_EQ(facts.height, 50);
    const QColor centre = QImage(QString::fromStdString(mSmall + "wide.jpg")).pixelColor(50, 25);
    EXPECT_GT(centre.red(), 230);
    EXPECT_LT(centre.green(), 25);
    EXPECT_LT(centre.blue(), 25);
}

TEST_F(MetafileSmallImageTest, DamagedMetafileGetsAnEmptyEntryAndNoFile)
{
    const std::string whole =
        testing::readFile(testing::sourceFolder() + "/fuzz/seeds/metafile/shapes.emf");
    mTemp.write("pictures/cut.emf", whole.substr(0, whole.size() / 2));
    const SmallImageResult result = MakeSmallImages({"cut.emf"}, {mPictures, mSmall, false}, mUi);
    EXPECT_EQ(result.SmallNames, (std::vector<std::string>{""}));
    EXPECT_FALSE(std::filesystem::exists(mSmall + "cut.jpg"));
}

TEST_F(MetafileSmallImageTest, AMetafileAskingForEndlessDrawingIsSkippedAndNamed)
{
    // Minutes of filling for the raster engine, in 80 KB.
    mTemp.write("pictures/zigzag.emf", testing::zigZagEmf(20000, 2000, true));
    mTemp.write("pictures/wide.wmf", wideRedWmf());
    const SmallImageResult result =
        MakeSmallImages({"zigzag.emf", "wide.wmf"}, {mPictures, mSmall, false}, mUi);
    EXPECT_EQ(result.SmallNames, (std::vector<std::string>{"", "wide.jpg"}));
    EXPECT_EQ(result.tooMuchWork, std::vector<std::string>{"zigzag.emf"});
    EXPECT_FALSE(std::filesystem::exists(mSmall + "zigzag.jpg"));
}

} // namespace
} // namespace vimbrel
