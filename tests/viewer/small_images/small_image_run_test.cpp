#include "viewer/small_images/small_image_run.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"

namespace vimbrel {
namespace {

using testing::JpegPlan;

// Pictures of every kind the decoder meets, with odd sizes, two pairs that
// share a small name, and two that fail.
std::vector<std::string> writeMixedPictures(const std::string& folder)
{
    std::vector<std::string> names;
    auto add = [&](const std::string& name, int width, int height, JpegPlan plan) {
        testing::writeJpeg(folder + name, testing::photoPicture(width, height, names.size() + 1),
                           plan);
        names.push_back(name);
    };
    add("420.jpg", 517, 389, {});
    JpegPlan full;
    full.hSampling = 1;
    full.vSampling = 1;
    add("444.jpg", 333, 777, full);
    JpegPlan wide;
    wide.vSampling = 1;
    wide.restartRows = 1;
    add("422-restart.jpg", 401, 300, wide);
    JpegPlan tall;
    tall.hSampling = 1;
    add("440.jpg", 250, 251, tall);
    JpegPlan progressive;
    progressive.progressive = true;
    add("progressive.jpg", 640, 480, progressive);
    JpegPlan grey;
    grey.greyscale = true;
    add("grey.jpg", 250, 130, grey);
    JpegPlan cmyk;
    cmyk.cmyk = true;
    add("cmyk.jpg", 300, 200, cmyk);
    for (int orientation = 2; orientation <= 8; ++orientation) {
        JpegPlan turned;
        turned.orientation = orientation;
        turned.progressive = orientation % 2 == 0;
        add("turned" + std::to_string(orientation) + ".jpg", 211, 163, turned);
    }
    testing::photoPicture(300, 150, 99).save(QString::fromStdString(folder + "420.bmp"), "BMP");
    names.push_back("420.bmp");
    add("pair.jpg", 150, 120, {});
    testing::photoPicture(180, 120, 98).save(QString::fromStdString(folder + "pair.bmp"), "BMP");
    names.push_back("pair.bmp");
    const std::string bytes = testing::readFile(folder + "420.jpg");
    std::filesystem::copy_file(folder + "420.jpg", folder + "copy.jpeg");
    names.push_back("copy.jpeg");
    std::FILE* cut = std::fopen((folder + "cut.jpg").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size() * 2 / 3, cut);
    std::fclose(cut);
    names.push_back("cut.jpg");
    names.push_back("absent.jpg");
    return names;
}

std::vector<std::string> folderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SmallImageRun, ThreadsAndSkippedRowsWriteTheFilesOfThePlainLoopByteForByte)
{
    testing::TempFolder temp;
    const std::string pictures = temp.makeFolder("pictures");
    const std::vector<std::string> names = writeMixedPictures(pictures);
    for (const bool chkFSub : {false, true}) {
        SCOPED_TRACE(chkFSub ? "only what is missing" : "all anew");
        const std::string plainFolder = temp.makeFolder(chkFSub ? "plain-sub" : "plain");
        const std::string fastFolder = temp.makeFolder(chkFSub ? "fast-sub" : "fast");
        testing::RecordingInterface ui;
        const SmallImageResult plain = MakeSmallImages(names, {pictures, plainFolder, chkFSub}, ui,
                                                       {DecodeMode::WholePicture, 1});
        const SmallImageResult fast = MakeSmallImages(names, {pictures, fastFolder, chkFSub}, ui,
                                                      {DecodeMode::KeptRowsOnly, 4});
        EXPECT_EQ(plain.SmallNames, fast.SmallNames);
        std::vector<std::string> made;
        for (const std::string& name : plain.SmallNames) {
            if (!name.empty() && std::find(made.begin(), made.end(), name) == made.end()) {
                made.push_back(name);
            }
        }
        EXPECT_EQ(made.size(), names.size() - 4) << "all but the two failures and two pairs";
        std::sort(made.begin(), made.end());
        ASSERT_EQ(folderNames(plainFolder), made);
        ASSERT_EQ(folderNames(fastFolder), made);
        for (const std::string& name : made) {
            EXPECT_EQ(testing::readFile(plainFolder + name), testing::readFile(fastFolder + name))
                << name;
        }
    }
}

TEST(SmallImageRun, PicturesSharingANameAreMadeInListOrderWhateverTheWorkers)
{
    testing::TempFolder temp;
    const std::string pictures = temp.makeFolder("pictures");
    const std::string small = temp.makeFolder("small");
    std::vector<std::string> names;
    // A pair of one small name far apart among others, so that other workers
    // are busy in between: the later one must replace the earlier.
    for (int i = 0; i < 20; ++i) {
        testing::writeJpeg(pictures + "x" + std::to_string(i) + ".jpg",
                           testing::photoPicture(150, 100, i));
        names.push_back("x" + std::to_string(i) + ".jpg");
    }
    QImage first(150, 100, QImage::Format_RGB888);
    first.fill(qRgb(250, 0, 0));
    first.save(QString::fromStdString(pictures + "same.bmp"), "BMP");
    QImage second(150, 100, QImage::Format_RGB888);
    second.fill(qRgb(0, 250, 0));
    testing::writeJpeg(pictures + "same.jpg", second);
    names.insert(names.begin() + 3, "same.bmp");
    names.insert(names.begin() + 15, "same.jpg");
    testing::RecordingInterface ui;
    const SmallImageResult result =
        MakeSmallImages(names, {pictures, small, false}, ui, {DecodeMode::KeptRowsOnly, 8});
    EXPECT_EQ(result.SmallNames[3], "same.jpg");
    EXPECT_EQ(result.SmallNames[15], "same.jpg");
    EXPECT_LE(testing::colourDistance(testing::readJpeg(small + "same.jpg").pixels.pixel(50, 30),
                                      qRgb(0, 250, 0)),
              10);
}

} // namespace
} // namespace vimbrel
