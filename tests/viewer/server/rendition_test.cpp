#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include <gtest/gtest.h>

#include <QUrl>

#include "tests/support/http_exchange.h"
#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_metafiles.h"
#include "viewer/server/rendition_cache.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

QImage imageOf(const testing::HttpReply& reply)
{
    return QImage::fromData(reply.body);
}

class RenditionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { testing::ensureCoreApplication(); }

    void SetUp() override
    {
        mPictures = mRoot.makeFolder("pictures");
        const std::string seeds = testing::sourceFolder() + "/fuzz/seeds/metafile/";
        mRoot.write("pictures/shapes.wmf", testing::readFile(seeds + "shapes.wmf"));
        mRoot.write("pictures/SHAPES.EMF", testing::readFile(seeds + "shapes.emf"));
        mRoot.write("pictures/damaged.wmf", testing::readFile(seeds + "shapes.wmf").substr(0, 30));
        ASSERT_TRUE(mServer.start());
        mServer.allowFolder(mPictures);
    }

    testing::HttpReply get(const std::string& name, const QByteArray& extra = {}) const
    {
        const QByteArray target = QUrl(QString::fromStdString(mServer.urlFor(mPictures + name)))
                                      .path(QUrl::FullyEncoded)
                                      .toLatin1();
        testing::RawConnection connection(mServer.port());
        connection.send("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                        QByteArray::number(mServer.port()) + "\r\n" + extra + "\r\n");
        return connection.readReply();
    }

    TempFolder mRoot;
    std::string mPictures;
    ViewerServer mServer;
};

TEST_F(RenditionTest, MetafilesArriveAsPngsOfTheirOwnSize)
{
    for (const char* name : {"shapes.wmf", "SHAPES.EMF"}) {
        const testing::HttpReply reply = get(name);
        ASSERT_EQ(reply.status, 200) << name;
        EXPECT_EQ(reply.headers.at("content-type"), "image/png") << name;
        const QImage image = imageOf(reply);
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.width(), 10) << name;
        // Asked again with its tag: not drawn again, not sent again.
        const QByteArray tag =
            "If-None-Match: " + QByteArray::fromStdString(reply.headers.at("etag")) + "\r\n";
        EXPECT_EQ(get(name, tag).status, 304) << name;
    }
}

TEST_F(RenditionTest, APictureThatCannotBeDrawnGets415AndTheServerGoesOn)
{
    const testing::HttpReply reply = get("damaged.wmf");
    EXPECT_EQ(reply.status, 415);
    EXPECT_EQ(reply.body, "415 this picture cannot be drawn\n");
    EXPECT_EQ(reply.headers.at("x-content-type-options"), "nosniff");
    EXPECT_EQ(get("shapes.wmf").status, 200);
}

TEST_F(RenditionTest, TiffAndHeicArriveAsJpegs)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(200, 40, 40));
    ASSERT_TRUE(picture.save(QString::fromStdString(mPictures + "photo.tif"), "TIFF"));
    ASSERT_TRUE(picture.save(QString::fromStdString(mRoot / "source.png"), "PNG"));
    // HEIC as a phone would write it, through libheif's own encoder.
    const std::string encode = "heif-enc -q 90 '" + mRoot / "source.png" + "' -o '" + mPictures +
                               "phone.heic' >/dev/null 2>&1";
    ASSERT_EQ(std::system(encode.c_str()), 0) << "heif-enc (libheif-examples) is needed";
    for (const char* name : {"photo.tif", "phone.heic"}) {
        const testing::HttpReply reply = get(name);
        ASSERT_EQ(reply.status, 200) << name;
        EXPECT_EQ(reply.headers.at("content-type"), "image/jpeg") << name;
        const QImage image = imageOf(reply);
        EXPECT_EQ(image.size(), QSize(64, 48)) << name;
        const QColor middle = image.pixelColor(32, 24);
        EXPECT_NEAR(middle.red(), 200, 12) << name;
        EXPECT_NEAR(middle.green(), 40, 12) << name;
    }
}

// The limits hold alike for every format, and inclusively: a TIFF of exactly
// 64 megapixels is drawn, one pixel row more is refused.
TEST_F(RenditionTest, ATiffAtThePixelLimitIsDrawnAndOneBeyondIsRefused)
{
    for (const QSize size : {QSize(8000, 8000), QSize(8000, 8001)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(qRgb(20, 120, 200));
        QImageWriter writer(QString::fromStdString(mPictures + "large.tif"), "TIFF");
        writer.setCompression(1); // LZW keeps the file small
        ASSERT_TRUE(writer.write(picture));
        const testing::HttpReply reply = get("large.tif");
        if (size.height() == 8000) {
            ASSERT_EQ(reply.status, 200);
            EXPECT_EQ(imageOf(reply).size(), size);
        } else {
            EXPECT_EQ(reply.status, 415);
        }
    }
}

TEST_F(RenditionTest, APictureThatAsksForEndlessDrawingGets503AndIsNotDrawnAgain)
{
    // 80 KB that would keep the raster engine busy for minutes.
    mRoot.write("pictures/zigzag.emf", testing::zigZagEmf(20000, 2000, true));
    const testing::HttpReply first = get("zigzag.emf");
    EXPECT_EQ(first.status, 503);
    EXPECT_EQ(first.body, "503 this picture takes too long to draw\n");
    // Remembered for this state of the file: a reload gets the same at once.
    EXPECT_EQ(get("zigzag.emf").status, 503);
    EXPECT_EQ(get("shapes.wmf").status, 200);
}

// A drawing the test holds until it lets go.
struct HeldDrawing
{
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool released = false;

    RenditionWorkers::Drawer drawer()
    {
        return [this](const std::string&, std::span<const uint8_t>,
                      DrawBudget&) -> std::optional<Rendition> {
            std::unique_lock lock(mutex);
            started = true;
            changed.notify_all();
            changed.wait(lock, [this] { return released; });
            return Rendition{"image/png", {'p', 'n', 'g'}};
        };
    }

    void waitUntilStarted()
    {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(10), [this] { return started; });
    }

    void release()
    {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

TEST_F(RenditionTest, FilesGoOutWhileAPictureIsDrawnAndStoppingAnswersItsRequest)
{
    HeldDrawing held;
    ViewerServer::Limits limits;
    limits.renditions.draw = held.drawer();
    ViewerServer server(limits);
    ASSERT_TRUE(server.start());
    server.allowFolder(mPictures);
    mRoot.write("pictures/page.htm", "<HTML></HTML>");
    const auto request = [&](const std::string& name) {
        const QByteArray target = QUrl(QString::fromStdString(server.urlFor(mPictures + name)))
                                      .path(QUrl::FullyEncoded)
                                      .toLatin1();
        return "GET " + target +
               " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(server.port()) + "\r\n\r\n";
    };
    testing::RawConnection drawing(server.port());
    drawing.send(request("shapes.wmf"));
    held.waitUntilStarted();
    // Every serving thread is free for the files meanwhile.
    for (int i = 0; i < 8; ++i) {
        testing::RawConnection page(server.port());
        page.send(request("page.htm"));
        EXPECT_EQ(page.readReply().body, "<HTML></HTML>");
    }
    // A drawing that does not heed the stop is left behind in time; its
    // request is answered all the same.
    EXPECT_FALSE(server.stop(std::chrono::milliseconds(100)));
    EXPECT_EQ(drawing.readReply().status, 503);
    held.release();
}

TEST(RenditionCache, KeepsTheNewestWithinItsBytesAndForgetsChangedFiles)
{
    RenditionCache cache(100);
    const auto drawn = [](size_t size) {
        return RenditionResult{
            RenditionResult::Kind::Drawn,
            std::make_shared<const Rendition>(Rendition{"image/png", std::vector<uint8_t>(size)})};
    };
    const RenditionCache::Key a{1, 1, 10, 5};
    const RenditionCache::Key b{1, 2, 10, 5};
    const RenditionCache::Key c{1, 3, 10, 5};
    cache.put(a, drawn(60));
    cache.put(b, drawn(30));
    EXPECT_TRUE(cache.find(a).has_value()); // a is now the newest
    cache.put(c, drawn(30));                // b goes
    EXPECT_FALSE(cache.find(b).has_value());
    ASSERT_TRUE(cache.find(a).has_value());
    EXPECT_EQ(cache.find(a)->rendition->bytes.size(), 60u);
    EXPECT_LE(cache.bytes(), 100u);
    // The same file changed since: another key.
    EXPECT_FALSE(cache.find(RenditionCache::Key{1, 1, 10, 6}).has_value());
    // Pictures that cannot be drawn, or take too much work, are remembered
    // as such and weigh nothing.
    cache.put(b, {RenditionResult::Kind::CannotBeDrawn, nullptr});
    cache.put(c, {RenditionResult::Kind::TooMuchWork, nullptr});
    ASSERT_TRUE(cache.find(b).has_value());
    EXPECT_EQ(cache.find(b)->kind, RenditionResult::Kind::CannotBeDrawn);
    EXPECT_EQ(cache.find(c)->kind, RenditionResult::Kind::TooMuchWork);
    EXPECT_LE(cache.bytes(), 60u);
    // Larger than the whole cache: not kept.
    cache.put(RenditionCache::Key{9, 9, 9, 9}, drawn(200));
    EXPECT_FALSE(cache.find(RenditionCache::Key{9, 9, 9, 9}).has_value());
}

} // namespace
} // namespace vimbrel
