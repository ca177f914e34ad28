#include "viewer/pictures/picture_loader.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"

namespace vimbrel {
namespace {

using testing::JpegPlan;
using testing::TempFolder;

// The small image pixels the loader keeps of the picture file `path`.
QImage sampled(const std::string& path, int width, int height,
               DecodeMode mode = DecodeMode::KeptRowsOnly)
{
    PictureLoader loader;
    if (!loader.open(path)) {
        return {};
    }
    QImage out(width, height, QImage::Format_RGB888);
    std::vector<std::uint8_t> pixels(size_t(width * height * 3));
    if (!loader.sample(width, height, pixels.data(), mode)) {
        return {};
    }
    for (int y = 0; y < height; ++y) {
        std::copy_n(&pixels[size_t(y * width * 3)], width * 3, out.scanLine(y));
    }
    return out;
}

// Expects every block of a blockPicture of `block`-pixel blocks, seen at
// `scale` (target / source), to keep its colour in `image`.
void expectBlocks(const QImage& image, int block, double scale, int tolerance)
{
    ASSERT_FALSE(image.isNull());
    const int shown = static_cast<int>(block * scale);
    for (int row = 0; (row + 1) * shown <= image.height(); ++row) {
        for (int column = 0; (column + 1) * shown <= image.width(); ++column) {
            const QRgb got = image.pixel(column * shown + shown / 2, row * shown + shown / 2);
            EXPECT_LE(testing::colourDistance(got, testing::blockColour(column, row)), tolerance)
                << "block " << column << "," << row;
        }
    }
}

TEST(PictureLoader, JpegsOfEveryColourModelEndAsTheirRgbColours)
{
    TempFolder temp;
    const QImage blocks = testing::blockPicture(400, 320, 40);
    JpegPlan grey;
    grey.greyscale = true;
    JpegPlan cmyk;
    cmyk.cmyk = true;
    JpegPlan full;
    full.hSampling = 1;
    full.vSampling = 1;
    JpegPlan progressive;
    progressive.progressive = true;
    for (const auto& [name, plan] : {std::pair{"cmyk.jpg", cmyk},
                                     {"444.jpg", full},
                                     {"progressive.jpg", progressive},
                                     {"420.jpg", JpegPlan{}}}) {
        testing::writeJpeg(temp / name, blocks, plan);
        SCOPED_TRACE(name);
        expectBlocks(sampled(temp / name, 100, 80), 40, 0.25, 12);
    }
    QImage mid(200, 100, QImage::Format_RGB888);
    mid.fill(qRgb(100, 100, 100));
    testing::writeJpeg(temp / "grey.jpg", mid, grey);
    const QImage greyOut = sampled(temp / "grey.jpg", 100, 50);
    ASSERT_FALSE(greyOut.isNull());
    EXPECT_LE(testing::colourDistance(greyOut.pixel(50, 25), qRgb(100, 100, 100)), 2);
}

TEST(PictureLoader, BitmapsOfEveryDepthLoad)
{
    TempFolder temp;
    const QImage blocks = testing::blockPicture(400, 320, 40);
    const std::pair<const char*, QImage> depths[] = {
        {"rgb24.bmp", blocks},
        {"rgb32.bmp", blocks.convertToFormat(QImage::Format_RGB32)},
        {"indexed8.bmp", blocks.convertToFormat(QImage::Format_Indexed8)},
        {"mono.bmp", blocks.convertToFormat(QImage::Format_Mono)}};
    for (const auto& [name, image] : depths) {
        ASSERT_TRUE(image.save(QString::fromStdString(temp / name), "BMP"));
        SCOPED_TRACE(name);
        if (image.format() == QImage::Format_Mono) {
            EXPECT_FALSE(sampled(temp / name, 100, 80).isNull());
        } else {
            expectBlocks(sampled(temp / name, 100, 80), 40, 0.25, 0);
        }
    }
}

// An icon file with the images of `icons` (each saved by Qt as an icon of
// its own, then their directories merged).
QByteArray iconFile(const std::vector<QImage>& icons)
{
    QByteArray directory;
    QByteArray images;
    const qsizetype dataStart = 6 + 16 * qsizetype(icons.size());
    for (const QImage& icon : icons) {
        QByteArray single;
        QBuffer buffer(&single);
        buffer.open(QIODevice::WriteOnly);
        icon.save(&buffer, "ICO");
        QByteArray entry = single.mid(6, 16);
        const quint32 size = quint32(single.size() - 22);
        const quint32 offset = quint32(dataStart + images.size());
        for (int i = 0; i < 4; ++i) {
            entry[8 + i] = char((size >> (8 * i)) & 0xFF);
            entry[12 + i] = char((offset >> (8 * i)) & 0xFF);
        }
        directory += entry;
        images += single.mid(22);
    }
    QByteArray header("\0\0\1\0", 4);
    header += char(icons.size());
    header += '\0';
    return header + directory + images;
}

TEST(PictureLoader, IconsGiveTheirLargestImageOnWhite)
{
    TempFolder temp;
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(qRgb(255, 0, 0));
    QImage large(200, 100, QImage::Format_ARGB32);
    large.fill(Qt::transparent);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x) {
            large.setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    const QByteArray file = iconFile({small, large, small});
    temp.write("icon.ico", std::string(file.constData(), size_t(file.size())));
    const QImage out = sampled(temp / "icon.ico", 100, 50);
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(out.pixel(20, 25), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(80, 25), qRgb(0, 0, 255));

    // Cut off inside its largest image.
    temp.write("cut.ico", std::string(file.constData(), size_t(file.size() - 100)));
    EXPECT_TRUE(sampled(temp / "cut.ico", 100, 50).isNull());
}

TEST(PictureLoader, BothDecodeModesKeepTheSamePixels)
{
    TempFolder temp;
    JpegPlan progressive;
    progressive.progressive = true;
    progressive.orientation = 7;
    testing::writeJpeg(temp / "a.jpg", testing::photoPicture(517, 389, 1), progressive);
    const QImage whole = sampled(temp / "a.jpg", 100, 131, DecodeMode::WholePicture);
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(whole, sampled(temp / "a.jpg", 100, 131, DecodeMode::KeptRowsOnly));
}

// A run-length bitmap 120 x 2 whose bottom row is skipped by an end of
// line: palette colour 0 is green, 1 red; the top row is red.
std::string runLengthBitmapWithSkippedRow()
{
    const std::string data("\0\0\x78\x01\0\0\0\x01", 8);
    auto le = [](std::uint32_t value, int size) {
        std::string bytes;
        for (int i = 0; i < size; ++i) {
            bytes += char((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    const std::uint32_t offset = 14 + 40 + 8;
    return "BM" + le(offset + std::uint32_t(data.size()), 4) + le(0, 4) + le(offset, 4) +
           le(40, 4) + le(120, 4) + le(2, 4) + le(1, 2) + le(8, 2) + le(1, 4) +
           le(std::uint32_t(data.size()), 4) + le(0, 4) + le(0, 4) + le(2, 4) + le(0, 4) +
           std::string("\0\xFF\0\0\0\0\xFF\0", 8) + data;
}

TEST(PictureLoader, PixelsARunLengthBitmapSkipsTakeItsFirstColourEveryTime)
{
    TempFolder temp;
    temp.write("rle.bmp", runLengthBitmapWithSkippedRow());
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QImage out = sampled(temp / "rle.bmp", 100, 2);
        ASSERT_FALSE(out.isNull());
        EXPECT_EQ(out.pixel(50, 0), qRgb(255, 0, 0));
        EXPECT_EQ(out.pixel(50, 1), qRgb(0, 255, 0));
    }
}

TEST(PictureLoader, DamagedDataFromMemoryFailsCleanly)
{
    PictureLoader loader;
    const std::uint8_t junk[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xD9};
    EXPECT_FALSE(loader.openData(junk, sizeof junk, PictureFormat::Jpeg));
    EXPECT_FALSE(loader.openData(junk, 0, PictureFormat::Jpeg));
    EXPECT_FALSE(loader.openData(junk, sizeof junk, PictureFormat::Bitmap));
    EXPECT_FALSE(loader.openData(junk, sizeof junk, PictureFormat::Icon));
    EXPECT_FALSE(loader.openData(junk, sizeof junk, PictureFormat::None));
    // A bitmap header claiming sides of two thousand million pixels.
    const std::uint8_t forged[] = {0x42, 0x4d, 0x2a, 0x42, 0,    0,    0,    0,    0,    0,
                                   0x8a, 0,    0x71, 0x74, 0x2e, 0x63, 0x6f, 0x72, 0x65, 0x2e,
                                   0x70, 0x6c, 0x75, 0x67, 0x69, 0x6e, 0x2e, 0,    0x20, 0,
                                   3,    0,    0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_FALSE(loader.openData(forged, sizeof forged, PictureFormat::Bitmap));
}

} // namespace
} // namespace vimbrel

namespace vimbrel {
namespace {

// ImageMagick's -sample over a fully decoded picture keeps the source pixel
// under each target pixel's centre, the same choice as ours, so it serves as
// an independent check of which pixels are kept. (GraphicsMagick's -sample
// keeps the pixel at each target pixel's top-left corner instead.)
TEST(PictureLoader, KeepsTheSamePixelsAsImageMagickSample)
{
    const QString convert = QStandardPaths::findExecutable("convert");
    if (convert.isEmpty()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    TempFolder temp;
    const QImage picture = testing::photoPicture(517, 389, 7);
    ASSERT_TRUE(picture.save(QString::fromStdString(temp / "p.bmp"), "BMP"));
    const int height = 389 * 100 / 517;
    QProcess process;
    process.start(convert, {QString::fromStdString(temp / "p.bmp"), "-sample",
                            QString("100x%1!").arg(height),
                            QString::fromStdString("PPM:" + temp / "magick.ppm")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0);
    const QImage magick(QString::fromStdString(temp / "magick.ppm"), "PPM");
    ASSERT_EQ(magick.size(), QSize(100, height));
    EXPECT_EQ(sampled(temp / "p.bmp", 100, height), magick.convertToFormat(QImage::Format_RGB888));
}

} // namespace
} // namespace vimbrel
