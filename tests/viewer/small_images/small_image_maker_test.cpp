#include "viewer/small_images/small_image_run.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include <gtest/gtest.h>

#include "platform/sys_calls.h"
#include "tests/support/recording_interface.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"

namespace vimbrel {
namespace {

using testing::JpegPlan;
using testing::RecordingInterface;
using testing::TempFolder;

class SmallImageMakerTest : public ::testing::Test
{
protected:
    TempFolder mTemp;
    std::string mPictures = mTemp.makeFolder("pictures");
    std::string mSmall = mTemp.makeFolder("pictures/img_s");
    RecordingInterface mUi;

    std::string jpeg(const std::string& name, const QImage& image, const JpegPlan& plan = {})
    {
        testing::writeJpeg(mPictures + name, image, plan);
        return name;
    }

    SmallImageResult run(const std::vector<std::string>& names, bool chkFSub,
                         std::string target = {})
    {
        return MakeSmallImages(names, {mPictures, target.empty() ? mSmall : target, chkFSub}, mUi);
    }

    testing::JpegFacts small(const std::string& name) { return testing::readJpeg(mSmall + name); }

    std::vector<std::string> smallFolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(mSmall)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

QImage flat(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

TEST_F(SmallImageMakerTest, SmallHeightIsHeightTimes100OverWidthRoundedDown)
{
    const std::vector<std::string> names = {jpeg("a.jpg", flat(101, 202, qRgb(9, 9, 9))),
                                            jpeg("b.JPEG", flat(1000, 999, qRgb(9, 9, 9))),
                                            jpeg("c.jpg", flat(640, 480, qRgb(9, 9, 9))),
                                            jpeg("d.jpg", flat(1000, 333, qRgb(9, 9, 9)))};
    const SmallImageResult result = run(names, false);
    EXPECT_EQ(result.SmallNames, (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_FALSE(result.cancelled);
    const std::pair<int, int> sizes[] = {{100, 200}, {100, 99}, {100, 75}, {100, 33}};
    for (size_t i = 0; i < names.size(); ++i) {
        const testing::JpegFacts facts = small(result.SmallNames[i]);
        ASSERT_TRUE(facts.ok) << names[i];
        EXPECT_EQ(std::make_pair(facts.width, facts.height), sizes[i]) << names[i];
    }
}

TEST_F(SmallImageMakerTest, NarrowPicturesGetNoneUnlessAnEarlierSmallFileIsKept)
{
    const std::vector<std::string> names = {jpeg("hundred.jpg", flat(100, 300, qRgb(1, 2, 3))),
                                            jpeg("kept.jpg", flat(100, 300, qRgb(1, 2, 3)))};
    mTemp.write("pictures/img_s/kept.jpg", "from an earlier run");
    EXPECT_EQ(run(names, false).SmallNames, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(run(names, true).SmallNames, (std::vector<std::string>{"", "kept.jpg"}));
    EXPECT_EQ(smallFolderNames(), std::vector<std::string>{"kept.jpg"});
    EXPECT_EQ(testing::readFile(mSmall + "kept.jpg"), "from an earlier run");
}

TEST_F(SmallImageMakerTest, PicturesSharingASmallNameFollowListOrder)
{
    flat(300, 150, qRgb(250, 0, 0)).save(QString::fromStdString(mPictures + "a.bmp"), "BMP");
    jpeg("a.jpg", flat(300, 150, qRgb(0, 0, 250)));
    const std::vector<std::string> names = {"a.bmp", "a.jpg"};

    // Made anew: the later picture replaces the earlier one's small image.
    EXPECT_EQ(run(names, false).SmallNames, (std::vector<std::string>{"a.jpg", "a.jpg"}));
    EXPECT_LT(testing::colourDistance(small("a.jpg").pixels.pixel(50, 25), qRgb(0, 0, 250)), 12);

    // Only what is missing: the first writes it, the second finds it.
    std::filesystem::remove(mSmall + "a.jpg");
    EXPECT_EQ(run(names, true).SmallNames, (std::vector<std::string>{"a.jpg", "a.jpg"}));
    EXPECT_LT(testing::colourDistance(small("a.jpg").pixels.pixel(50, 25), qRgb(250, 0, 0)), 12);
}

TEST_F(SmallImageMakerTest, WhatCannotBeLoadedGetsAnEmptyEntryAndNoFile)
{
    const QImage picture = flat(300, 200, qRgb(10, 200, 10));
    picture.save(QString::fromStdString(mPictures + "anim.gif"), "GIF");
    mTemp.write("pictures/notes.txt", "not a picture");
    mTemp.write("pictures/fake.jpg", "not a JPEG at all");
    mTemp.write("pictures/empty.bmp", "");
    jpeg("whole.jpg", picture);
    std::string bytes = testing::readFile(mPictures + "whole.jpg");
    // Truncated in the middle of the picture data, and with its data overwritten.
    mTemp.write("pictures/cut.jpg", bytes.substr(0, bytes.size() / 2));
    for (size_t i = bytes.size() / 3; i < bytes.size() - 2; ++i) {
        bytes[i] = static_cast<char>(0xFF);
    }
    mTemp.write("pictures/damaged.jpg", bytes);
    picture.save(QString::fromStdString(mPictures + "whole.bmp"), "BMP");
    const std::string bitmap = testing::readFile(mPictures + "whole.bmp");
    mTemp.write("pictures/cut.bmp", bitmap.substr(0, bitmap.size() / 2));
    mTemp.makeFolder("pictures/folder.jpg");

    const std::vector<std::string> names = {"anim.gif",    "notes.txt",   "fake.jpg", "empty.bmp",
                                            "cut.jpg",     "damaged.jpg", "cut.bmp",  "folder.jpg",
                                            "missing.jpg", "whole.jpg"};
    const SmallImageResult result = run(names, false);
    std::vector<std::string> expected(names.size() - 1, "");
    expected.push_back("whole.jpg");
    EXPECT_EQ(result.SmallNames, expected);
    EXPECT_EQ(smallFolderNames(), std::vector<std::string>{"whole.jpg"});
}

TEST_F(SmallImageMakerTest, PipesUnderPictureNamesAreNeverWaitedOn)
{
    // A pipe with no writer blocks whoever opens it for reading the plain
    // way; each picture kind must refuse it instead.
    const std::vector<std::string> names = {"x.wmf", "x.emf", "x.bmp", "x.ico", "x.jpg", "y.jpg"};
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        ASSERT_EQ(::mkfifo((mPictures + names[i]).c_str(), 0600), 0);
    }
    jpeg("y.jpg", flat(300, 200, qRgb(200, 10, 10)));

    auto made = std::async(std::launch::async, [&] { return run(names, false); });
    if (made.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        // Release the stuck reader so that the test can end, then fail.
        for (size_t i = 0; i + 1 < names.size(); ++i) {
            const int fd = ::open((mPictures + names[i]).c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
            }
        }
        made.wait();
        FAIL() << "a pipe under a picture's name blocked the small images";
    }
    const std::vector<std::string> expected = {"", "", "", "", "", "y.jpg"};
    EXPECT_EQ(made.get().SmallNames, expected);
}

TEST_F(SmallImageMakerTest, PicturesFiftyTimesWiderThanHighGetNoFile)
{
    const std::vector<std::string> names = {jpeg("flat1.jpg", flat(5000, 99, qRgb(0, 0, 0))),
                                            jpeg("flat2.jpg", flat(5000, 100, qRgb(0, 0, 0))),
                                            jpeg("two.jpg", flat(5000, 101, qRgb(0, 0, 0)))};
    // Heights 1 (99 * 100 / 5000 = 1... rounded down to 1), 2 and 2.
    EXPECT_EQ(run(names, false).SmallNames, (std::vector<std::string>{"", "flat2.jpg", "two.jpg"}));
    const std::vector<std::string> wide = {jpeg("zero.jpg", flat(5001, 49, qRgb(0, 0, 0))),
                                           jpeg("one.jpg", flat(5000, 50, qRgb(0, 0, 0)))};
    EXPECT_EQ(run(wide, false).SmallNames, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(smallFolderNames(), (std::vector<std::string>{"flat2.jpg", "two.jpg"}));
}

TEST_F(SmallImageMakerTest, AMissingOrUnwritableTargetEmptiesEveryEntry)
{
    const std::vector<std::string> names = {jpeg("a.jpg", flat(300, 200, qRgb(0, 0, 0))), "b.gif"};
    const SmallImageResult missing = run(names, true, mTemp / "nowhere/");
    EXPECT_EQ(missing.SmallNames, (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(missing.cancelled);

    // A file standing where the folder must be.
    mTemp.write("plain-file", "x");
    EXPECT_EQ(run(names, false, mTemp / "plain-file/").SmallNames,
              (std::vector<std::string>{"", ""}));

    // A folder that refuses new files.
    sys::Calls refusing = sys::ScopedCalls::real();
    refusing.open = [](const char*, sys::OpenFor) { return sys::fail(sys::error::kAccessDenied); };
    sys::ScopedCalls scoped(refusing);
    EXPECT_EQ(run(names, false).SmallNames, (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(smallFolderNames().empty());
}

TEST_F(SmallImageMakerTest, AFailedWriteLeavesTheEarlierSmallFileWhole)
{
    const std::vector<std::string> names = {jpeg("a.jpg", flat(300, 200, qRgb(0, 0, 0)))};
    mTemp.write("pictures/img_s/a.jpg", "earlier");
    sys::Calls full = sys::ScopedCalls::real();
    full.write = [](int, const void*, size_t) -> std::ptrdiff_t {
        return sys::fail(sys::error::kDiskFull);
    };
    {
        sys::ScopedCalls scoped(full);
        EXPECT_EQ(run(names, false).SmallNames, std::vector<std::string>{""});
    }
    EXPECT_EQ(testing::readFile(mSmall + "a.jpg"), "earlier");
    EXPECT_EQ(smallFolderNames(), std::vector<std::string>{"a.jpg"});
}

TEST_F(SmallImageMakerTest, AReadOnlySmallFileIsKeptButNotReplaced)
{
    const std::vector<std::string> names = {jpeg("a.jpg", flat(300, 200, qRgb(0, 0, 0)))};
    mTemp.write("pictures/img_s/a.jpg", "earlier");
    ASSERT_EQ(::chmod((mSmall + "a.jpg").c_str(), 0444), 0);
    EXPECT_EQ(run(names, false).SmallNames, std::vector<std::string>{""});
    EXPECT_EQ(testing::readFile(mSmall + "a.jpg"), "earlier");
    EXPECT_EQ(run(names, true).SmallNames, std::vector<std::string>{"a.jpg"});
    // A folder of the small name can be neither used nor replaced.
    mTemp.makeFolder("pictures/img_s/b.jpg");
    jpeg("b.jpg", flat(300, 200, qRgb(0, 0, 0)));
    EXPECT_EQ(run({"b.jpg"}, true).SmallNames, std::vector<std::string>{""});
    EXPECT_EQ(run({"b.jpg"}, false).SmallNames, std::vector<std::string>{""});
}

TEST_F(SmallImageMakerTest, ExifOrientationTurnsTheSmallImageAsTheViewerShowsThePicture)
{
    // Stored 300 x 200: left half red, right half blue.
    QImage stored(300, 200, QImage::Format_RGB888);
    stored.fill(qRgb(230, 20, 20));
    for (int y = 0; y < 200; ++y) {
        for (int x = 150; x < 300; ++x) {
            stored.setPixel(x, y, qRgb(20, 20, 230));
        }
    }
    JpegPlan six;
    six.orientation = 6; // turned a quarter clockwise: the left half goes up
    JpegPlan eight;
    eight.orientation = 8; // a quarter anticlockwise: the left half goes down
    const std::vector<std::string> names = {jpeg("six.jpg", stored, six),
                                            jpeg("eight.jpg", stored, eight)};
    ASSERT_EQ(run(names, false).SmallNames, names);
    for (const std::string& name : names) {
        const testing::JpegFacts facts = small(name);
        ASSERT_EQ(std::make_pair(facts.width, facts.height), std::make_pair(100, 150)) << name;
        const QRgb top = facts.pixels.pixel(50, 30);
        const QRgb bottom = facts.pixels.pixel(50, 120);
        const QRgb red = qRgb(230, 20, 20);
        const QRgb blue = qRgb(20, 20, 230);
        EXPECT_LT(testing::colourDistance(top, name == "six.jpg" ? red : blue), 16) << name;
        EXPECT_LT(testing::colourDistance(bottom, name == "six.jpg" ? blue : red), 16) << name;
    }
    // The width test is made on the picture as shown: 90 x 300 stored is 300 wide.
    JpegPlan turned;
    turned.orientation = 6;
    EXPECT_EQ(run({jpeg("tall.jpg", flat(90, 300, qRgb(0, 0, 0)), turned)}, false).SmallNames,
              std::vector<std::string>{"tall.jpg"});
    EXPECT_EQ(small("tall.jpg").height, 30);
}

TEST_F(SmallImageMakerTest, ReportsProgressAndStopsBetweenPicturesWhenAsked)
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back(jpeg(std::to_string(i) + ".jpg", flat(200, 100, qRgb(0, 0, 0))));
    }
    const SmallImageResult done = run(names, false);
    EXPECT_FALSE(done.cancelled);
    // From 0 to all, rising; steps that end together are reported as one.
    EXPECT_EQ(mUi.progress.front(), std::make_pair(0, 12));
    EXPECT_EQ(mUi.progress.back(), std::make_pair(12, 12));
    for (size_t i = 1; i < mUi.progress.size(); ++i) {
        EXPECT_LT(mUi.progress[i - 1].first, mUi.progress[i].first);
        EXPECT_EQ(mUi.progress[i].second, 12);
    }

    // Stopped before the first picture: nothing is made.
    std::filesystem::remove_all(mSmall);
    std::filesystem::create_directory(mSmall);
    mUi.progress.clear();
    mUi.stopAfter = 0;
    const SmallImageResult none = run(names, false);
    EXPECT_TRUE(none.cancelled);
    EXPECT_EQ(none.SmallNames, std::vector<std::string>(12, ""));
    EXPECT_TRUE(smallFolderNames().empty());

    // Stopped after the first: the pictures under way are finished, no new
    // one is begun, and what was written stays, each file whole.
    mUi.progress.clear();
    mUi.stopAfter = 1;
    const SmallImageResult stopped = run(names, false);
    ASSERT_EQ(stopped.SmallNames.size(), 12u);
    // The report that asked to stop was the last.
    ASSERT_EQ(mUi.progress.size(), 2u);
    EXPECT_GE(mUi.progress.back().first, 1);
    std::vector<std::string> made;
    for (const std::string& name : stopped.SmallNames) {
        if (!name.empty()) {
            made.push_back(name);
            EXPECT_TRUE(small(name).ok) << name;
        }
    }
    std::sort(made.begin(), made.end());
    EXPECT_EQ(smallFolderNames(), made);
    EXPECT_FALSE(made.empty());
    EXPECT_EQ(stopped.cancelled, made.size() < names.size());
}

TEST_F(SmallImageMakerTest, EmptyListGivesEmptyResult)
{
    const SmallImageResult result = run({}, true);
    EXPECT_TRUE(result.SmallNames.empty());
    EXPECT_FALSE(result.cancelled);
}

} // namespace
} // namespace vimbrel
