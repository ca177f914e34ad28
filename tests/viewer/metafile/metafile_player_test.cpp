#include <atomic>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "tests/support/gui_application_test.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_metafiles.h"
#include "viewer/metafile/metafile_picture.h"
#include "viewer/metafile/metafile_strings.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

// Little-endian bytes of a metafile under construction.
class Bytes
{
public:
    Bytes& u8(uint32_t value)
    {
        mData.push_back(static_cast<char>(value & 0xff));
        return *this;
    }
    Bytes& u16(uint32_t value) { return u8(value).u8(value >> 8); }
    Bytes& u32(uint32_t value) { return u16(value & 0xffff).u16(value >> 16); }
    Bytes& append(const std::string& bytes)
    {
        mData += bytes;
        return *this;
    }
    const std::string& data() const { return mData; }
    size_t size() const { return mData.size(); }
    void patch32(size_t at, uint32_t value)
    {
        for (int i = 0; i < 4; ++i) {
            mData[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
        }
    }

private:
    std::string mData;
};

constexpr uint32_t kRed = 0x0000ff;
constexpr uint32_t kGreen = 0x00ff00;
constexpr uint32_t kBlue = 0xff0000;

// A bottom-up 24-bit DIB of 2 x 2 pixels: blue, white over red, green.
std::string twoByTwoDib()
{
    Bytes dib;
    dib.u32(40).u32(2).u32(2).u16(1).u16(24).u32(0).u32(16).u32(0).u32(0).u32(0).u32(0);
    // Bottom row first: red, green, padding; then blue, white, padding.
    dib.u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).u8(0).u8(0);
    dib.u8(255).u8(0).u8(0).u8(255).u8(255).u8(255).u8(0).u8(0);
    return dib.data();
}

// Builds a WMF record by record; parameters are 16-bit words in file order.
class WmfBuilder
{
public:
    WmfBuilder& record(uint16_t function, const std::vector<int>& words,
                       const std::string& tail = {})
    {
        const size_t size = 3 + words.size() + (tail.size() + 1) / 2;
        mRecords.u32(static_cast<uint32_t>(size)).u16(function);
        for (const int word : words) {
            mRecords.u16(static_cast<uint16_t>(word));
        }
        mRecords.append(tail);
        if (tail.size() % 2) {
            mRecords.u8(0);
        }
        mObjects += (function & 0xff) >= 0xf7 || function == 0x0142 ? 1 : 0;
        return *this;
    }
    WmfBuilder& solidBrush(uint32_t colour)
    {
        return record(0x02fc, {0, lo(colour), hi(colour), 0});
    }
    WmfBuilder& pen(int style, int width, uint32_t colour)
    {
        return record(0x02fa, {style, width, 0, lo(colour), hi(colour)});
    }
    WmfBuilder& select(int index) { return record(0x012d, {index}); }
    WmfBuilder& window(int x, int y, int width, int height)
    {
        return record(0x020b, {y, x}).record(0x020c, {height, width});
    }
    WmfBuilder& rectangle(int left, int top, int right, int bottom)
    {
        return record(0x041b, {bottom, right, top, left});
    }
    // Records with a nonstandard object count, for damaged tables.
    WmfBuilder& declareObjects(int count)
    {
        mDeclared = count;
        return *this;
    }

    std::string plain() const { return header() + mRecords.data() + eof(); }

    std::string placeable(int left, int top, int right, int bottom, int inch) const
    {
        Bytes head;
        head.u32(0x9ac6cdd7).u16(0).u16(left).u16(top).u16(right).u16(bottom).u16(inch).u32(0);
        head.u16(0); // checksum, not checked by readers
        return head.data() + plain();
    }

    static int lo(uint32_t value) { return static_cast<int>(value & 0xffff); }
    static int hi(uint32_t value) { return static_cast<int>(value >> 16); }

private:
    std::string header() const
    {
        const size_t words = 9 + mRecords.size() / 2 + 3;
        Bytes head;
        head.u16(1).u16(9).u16(0x0300).u32(static_cast<uint32_t>(words));
        head.u16(mDeclared >= 0 ? mDeclared : mObjects).u32(64).u16(0);
        return head.data();
    }
    static std::string eof()
    {
        Bytes end;
        end.u32(3).u16(0);
        return end.data();
    }

    Bytes mRecords;
    int mObjects = 0;
    int mDeclared = -1;
};

// Builds an EMF: a header whose frame gives the picture size at 96 pixels per
// inch on a reference device of exactly that resolution, then the records.
class EmfBuilder
{
public:
    EmfBuilder(int widthPixels, int heightPixels, int handles = 8) : mHandles(handles)
    {
        // The frame in hundredths of a millimetre, edges included: its
        // first and last edges lie on the picture's first and last pixels.
        mFrameRight = static_cast<int>(std::lround((widthPixels - 1) * 2540.0 / 96));
        mFrameBottom = static_cast<int>(std::lround((heightPixels - 1) * 2540.0 / 96));
    }
    EmfBuilder& frame(int right, int bottom)
    {
        mFrameRight = right;
        mFrameBottom = bottom;
        return *this;
    }
    EmfBuilder& record(uint32_t type, const std::vector<int64_t>& values,
                       const std::string& tail = {})
    {
        mRecords.u32(type).u32(static_cast<uint32_t>(8 + 4 * values.size() + tail.size()));
        for (const int64_t value : values) {
            mRecords.u32(static_cast<uint32_t>(value));
        }
        mRecords.append(tail);
        ++mCount;
        return *this;
    }
    EmfBuilder& solidBrush(int index, uint32_t colour) { return record(39, {index, 0, colour, 0}); }
    EmfBuilder& nullPen() { return record(37, {0x80000008}); }
    EmfBuilder& select(int64_t index) { return record(37, {index}); }
    // STRETCHDIBITS of the whole 2 x 2 test bitmap onto a place and size by a
    // raster operation: bounds, place, source (0, 0) 2 x 2, the header at 80
    // (40 bytes), the bits at 120 (16 bytes), RGB colours.
    EmfBuilder& stretchTwoByTwo(int x, int y, int width, int height, uint32_t operation)
    {
        return record(81,
                      {0, 0, 0, 0, x, y, 0, 0, 2, 2, 80, 40, 120, 16, 0, operation, width, height},
                      twoByTwoDib());
    }

    std::string build() const
    {
        Bytes file;
        file.u32(1).u32(88);
        file.u32(0).u32(0).u32(0).u32(0); // bounds, not used when the frame is set
        file.u32(0).u32(0).u32(mFrameRight).u32(mFrameBottom);
        file.u32(0x464d4520).u32(0x10000).u32(0).u32(mCount + 2).u16(mHandles).u16(0);
        file.u32(0).u32(0).u32(0);
        file.u32(960).u32(960).u32(254).u32(254);
        file.append(mRecords.data());
        file.u32(14).u32(20).u32(0).u32(16).u32(20); // end of file
        file.patch32(48, static_cast<uint32_t>(file.size()));
        return file.data();
    }

private:
    Bytes mRecords;
    uint32_t mCount = 0;
    int mHandles;
    int mFrameRight;
    int mFrameBottom;
};

QImage load(const TempFolder& folder, const std::string& name, const std::string& content)
{
    return loadMetafilePicture(folder.write(name, content));
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Counts pixels in `area` whose colour is near `colour`.
int countNear(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 60 &&
                std::abs(c.green() - colour.green()) < 60 &&
                std::abs(c.blue() - colour.blue()) < 60) {
                ++count;
            }
        }
    }
    return count;
}

// Text output needs the font system of a GUI application.
class MetafilePlayerTest : public testing::GuiApplicationTest
{
protected:
    TempFolder mFolder;
};

TEST_F(MetafilePlayerTest, PlaceableWmfTakesItsBoundingBoxAtNinetySixDpi)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 2000, 1000).solidBrush(kRed).select(0).pen(5, 0, 0).select(1);
    wmf.rectangle(100, 100, 1000, 900);
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 2000, 1000, 1000));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(192, 96));
    EXPECT_EQ(at(image, 50, 50), QColor(Qt::red));
    EXPECT_EQ(at(image, 150, 50), QColor(Qt::white));
    EXPECT_EQ(at(image, 50, 92), QColor(Qt::white));

    // Twice the units per inch: half the pixels, the same drawing scaled.
    const QImage half = load(mFolder, "b.wmf", wmf.placeable(0, 0, 2000, 1000, 2000));
    ASSERT_FALSE(half.isNull());
    EXPECT_EQ(half.size(), QSize(96, 48));
    EXPECT_EQ(at(half, 25, 25), QColor(Qt::red));
    EXPECT_EQ(at(half, 75, 25), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, WmfWindowMapsOntoTheWholeBoundingBox)
{
    // Logical units of 10 x 10 spread over a 96 x 96 picture; the bounding
    // box is in other units than the window, with its origin elsewhere.
    WmfBuilder wmf;
    wmf.record(0x0103, {8}).window(-5, -5, 10, 10).solidBrush(kBlue).select(0);
    wmf.rectangle(0, 0, 5, 5);
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(100, 100, 1540, 1540, 1440));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(96, 96));
    EXPECT_EQ(at(image, 70, 70), QColor(Qt::blue));
    EXPECT_EQ(at(image, 20, 20), QColor(Qt::white));
    EXPECT_EQ(at(image, 70, 20), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, WmfPolygonPolyPolygonAndLine)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kBlue).select(0).pen(0, 0, kGreen).select(1);
    // A triangle with its point at the top.
    wmf.record(0x0324, {3, 10, 90, 50, 10, 90, 90});
    // Two squares in one poly-polygon, filled red.
    wmf.solidBrush(kRed).select(2);
    wmf.record(0x0538, {2, 4, 4, 0, 0, 10, 0, 10, 10, 0, 10, 90, 0, 100, 0, 100, 10, 90, 10});
    wmf.record(0x0214, {95, 5}).record(0x0213, {95, 95}); // a green line near the bottom
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(100, 100));
    EXPECT_EQ(at(image, 50, 70), QColor(Qt::blue));
    EXPECT_EQ(at(image, 15, 30), QColor(Qt::white)); // outside the triangle's left edge
    EXPECT_EQ(at(image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(at(image, 95, 5), QColor(Qt::red));
    EXPECT_EQ(at(image, 50, 95), QColor(Qt::green));
    EXPECT_EQ(at(image, 50, 97), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, WmfTextInTheFontsSizeAndColour)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        GTEST_SKIP() << "no GUI application for fonts";
    }
    WmfBuilder wmf;
    wmf.window(0, 0, 200, 100);
    std::string face = "Sans Serif";
    face.resize(32, '\0');
    Bytes font;
    font.u16(static_cast<uint16_t>(-60)).u16(0).u16(0).u16(0).u16(700).u8(0).u8(0).u8(0).u8(0);
    font.u32(0).append(face);
    wmf.record(0x02fb, {}, font.data()).select(0);
    wmf.record(0x0209, {WmfBuilder::lo(kRed), WmfBuilder::hi(kRed)}); // text colour
    wmf.record(0x0102, {1});                                          // transparent background
    // ExtTextOut at (10, 10), 3 characters, no options.
    wmf.record(0x0a32, {10, 10, 3, 0}, "HHH");
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 200, 100, 96));
    ASSERT_FALSE(image.isNull());
    const int red = countNear(image, QRect(0, 0, 200, 100), QColor(Qt::red));
    EXPECT_GT(red, 300);
    // A 60-pixel font from y = 10 leaves the top rows and the bottom ones empty.
    EXPECT_EQ(countNear(image, QRect(0, 0, 200, 8), QColor(Qt::red)), 0);
    EXPECT_EQ(countNear(image, QRect(0, 80, 200, 20), QColor(Qt::red)), 0);
    EXPECT_GT(countNear(image, QRect(0, 20, 200, 40), QColor(Qt::red)), 300);
}

TEST_F(MetafilePlayerTest, WmfStretchedBitmapKeepsItsRowsTheRightWayUp)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100);
    // StretchDIB: copy, RGB colours, source 2 x 2 at (0, 0), target 100 x 100 at (0, 0).
    wmf.record(0x0f43, {0x0020, 0x00cc, 0, 2, 2, 0, 0, 100, 100, 0, 0}, twoByTwoDib());
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::blue));
    EXPECT_EQ(at(image, 75, 25), QColor(Qt::white));
    EXPECT_EQ(at(image, 25, 75), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::green));
}

TEST_F(MetafilePlayerTest, WmfClipRectanglesAndSavedStates)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kRed).select(0).pen(5, 0, 0).select(1);
    wmf.record(0x001e, {});                          // save
    wmf.record(0x0416, {50, 50, 0, 0});              // clip to the top-left quarter
    wmf.rectangle(0, 0, 100, 100);                   // red only there
    wmf.record(0x0127, {static_cast<uint16_t>(-1)}); // restore: unclipped
    wmf.solidBrush(kBlue).select(2).rectangle(0, 60, 100, 100);
    wmf.record(0x0999, {1, 2, 3}); // a record nobody knows
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 25), QColor(Qt::white));
    EXPECT_EQ(at(image, 75, 80), QColor(Qt::blue));
}

TEST_F(MetafilePlayerTest, PlainWmfTakesTheWindowItSetsUp)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 120, 80).solidBrush(kGreen).select(0).rectangle(60, 0, 120, 80);
    const QImage image = load(mFolder, "a.wmf", wmf.plain());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(120, 80));
    EXPECT_EQ(at(image, 90, 40), QColor(Qt::green));
    EXPECT_EQ(at(image, 30, 40), QColor(Qt::white));

    // Without any window the drawing's own bounds frame it.
    WmfBuilder bare;
    bare.solidBrush(kGreen).select(0).pen(5, 0, 0).select(1).rectangle(20, 10, 80, 50);
    bare.solidBrush(kRed).select(2).rectangle(50, 30, 80, 50);
    const QImage framed = load(mFolder, "b.wmf", bare.plain());
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(framed.size(), QSize(60, 40));
    EXPECT_EQ(at(framed, 1, 1), QColor(Qt::green));
    EXPECT_EQ(at(framed, 58, 38), QColor(Qt::red));
    EXPECT_EQ(at(framed, 28, 18), QColor(Qt::green));

    // Nothing drawn and no window: no size to draw at.
    WmfBuilder empty;
    empty.solidBrush(kGreen).select(0);
    EXPECT_TRUE(load(mFolder, "c.wmf", empty.plain()).isNull());
}

TEST_F(MetafilePlayerTest, DamagedWmfGivesNoPicture)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kRed).select(0).rectangle(0, 0, 50, 50);
    const std::string whole = wmf.placeable(0, 0, 100, 100, 96);
    ASSERT_FALSE(load(mFolder, "whole.wmf", whole).isNull());
    // Cut inside a record: damaged. Cut at a record's end (the end record
    // lost, the header's size too large), the device draws what is there,
    // and so does the player.
    EXPECT_TRUE(load(mFolder, "cut.wmf", whole.substr(0, whole.size() - 9)).isNull());
    const QImage shortened = load(mFolder, "short.wmf", whole.substr(0, whole.size() - 6));
    ASSERT_FALSE(shortened.isNull());
    EXPECT_EQ(at(shortened, 10, 10), QColor(Qt::red));
    EXPECT_TRUE(load(mFolder, "header.wmf", whole.substr(0, 30)).isNull());

    // Selecting an object the table cannot hold.
    WmfBuilder outside;
    outside.window(0, 0, 100, 100).solidBrush(kRed).select(5).rectangle(0, 0, 50, 50);
    EXPECT_TRUE(load(mFolder, "index.wmf", outside.placeable(0, 0, 100, 100, 96)).isNull());

    // A polygon claiming more points than its record holds.
    WmfBuilder counted;
    counted.window(0, 0, 100, 100).record(0x0324, {30000, 1, 2, 3, 4});
    EXPECT_TRUE(load(mFolder, "count.wmf", counted.placeable(0, 0, 100, 100, 96)).isNull());

    // A record whose size runs past the end of the file.
    std::string overlong = whole;
    const size_t firstRecord = 22 + 18;
    overlong[firstRecord + 2] = 0x10;
    EXPECT_TRUE(load(mFolder, "size.wmf", overlong).isNull());

    EXPECT_TRUE(load(mFolder, "text.wmf", "not a metafile at all").isNull());
    EXPECT_TRUE(load(mFolder, "empty.wmf", "").isNull());
    EXPECT_TRUE(loadMetafilePicture(mFolder / "missing.wmf").isNull());
}

TEST_F(MetafilePlayerTest, EnormousPicturesComeOutFittedToAScreensSize)
{
    // What a program shows "at its own size" on a screen: at most 4096
    // pixels a side and 16 megapixels, in the picture's proportions.
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kRed).select(0).rectangle(0, 0, 100, 50);
    // 32000 units at 10 per inch: 307200 pixels wide.
    const QImage a = load(mFolder, "a.wmf", wmf.placeable(0, 0, 32000, 16000, 10));
    EXPECT_EQ(a.size(), QSize(4096, 2048));
    EXPECT_EQ(at(a, 2000, 500), QColor(Qt::red));
    // Within the side limit but beyond the area.
    EXPECT_EQ(load(mFolder, "b.wmf", wmf.placeable(0, 0, 9999, 9999, 96)).size(),
              QSize(4000, 4000));
    // An EMF frame of ten metres by five, as a printer driver may write.
    EmfBuilder emf(10, 10);
    emf.frame(1000000, 500000);
    emf.solidBrush(1, kBlue).select(1);
    emf.record(43, {0, 0, 10, 10});
    EXPECT_EQ(load(mFolder, "c.emf", emf.build()).size(), QSize(4096, 2048));
}

TEST_F(MetafilePlayerTest, EmfShapesInTheFramesSize)
{
    EmfBuilder emf(96, 48);
    emf.solidBrush(1, kRed).select(1).nullPen();
    emf.record(43, {0, 0, 48, 24}); // rectangle
    emf.solidBrush(2, kBlue).select(2);
    emf.record(86, {0, 0, 0, 0, 3, 60 | (40 << 16), 90 | (0 << 16), 90 | (40 << 16)}); // polygon16
    emf.record(38, {3, 0, 0, 0, kGreen}).select(3); // a green pen
    emf.record(27, {0, 45}).record(54, {40, 45});   // move, line
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(96, 48));
    EXPECT_EQ(at(image, 10, 10), QColor(Qt::red));
    EXPECT_EQ(at(image, 60, 10), QColor(Qt::white));
    EXPECT_EQ(at(image, 85, 35), QColor(Qt::blue));
    EXPECT_EQ(at(image, 65, 10), QColor(Qt::white));
    EXPECT_EQ(at(image, 20, 45), QColor(Qt::green));
    EXPECT_EQ(at(image, 20, 43), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, EmfBitBltTargetsAreAPlaceAndASize)
{
    // A pattern blit of the brush (PATCOPY, no source) at x 40, y 10, 8 x 8:
    // the third and fourth values are its width and height, not a corner.
    EmfBuilder emf(96, 48);
    emf.solidBrush(1, kRed).select(1);
    const int64_t one = 0x3f800000; // 1.0f
    emf.record(
        76, {0, 0, 95, 47, 40, 10, 8, 8, 0x00f00021, 0, 0, one, 0, 0, one, 0, 0, 0, 0, 0, 0, 0, 0});
    const QImage image = load(mFolder, "blt.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 44, 14), QColor(Qt::red));
    EXPECT_EQ(at(image, 47, 17), QColor(Qt::red));
    EXPECT_EQ(at(image, 20, 14), QColor(Qt::white));
    EXPECT_EQ(at(image, 44, 30), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, EmfPenMixesAndBlitRasterOperations)
{
    EmfBuilder emf(100, 100);
    emf.solidBrush(1, kRed).select(1).nullPen();
    emf.record(43, {0, 0, 100, 100});
    // Blue mixed into red by "not xor": ~(blue ^ red) is green.
    emf.solidBrush(2, kBlue).select(2);
    emf.record(20, {10}).record(43, {0, 0, 50, 50}).record(20, {13});
    // Bitmap blits whose operation ignores the bitmap: the destination
    // inverted (red becomes cyan), and the destination left as it is.
    emf.stretchTwoByTwo(50, 0, 50, 50, 0x00550009).stretchTwoByTwo(0, 50, 50, 50, 0x00aa0029);
    // "Merge paint", ~source | destination, over red: the blue pixel gives
    // yellow | red = yellow, the white one leaves red.
    emf.stretchTwoByTwo(50, 50, 50, 50, 0x00bb0226);
    const QImage image = load(mFolder, "mix.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::green));
    EXPECT_EQ(at(image, 75, 25), QColor(Qt::cyan));
    EXPECT_EQ(at(image, 25, 75), QColor(Qt::red));
    EXPECT_EQ(at(image, 60, 60), QColor(Qt::yellow)); // under the blue pixel
    EXPECT_EQ(at(image, 90, 60), QColor(Qt::red));    // under the white one
}

TEST_F(MetafilePlayerTest, EmfBlitSourcesGoThroughTheSourceTransform)
{
    // STRETCHBLT of the source's logical (1, 0) 1 x 1 onto 50 x 50, with a
    // source transform that shifts by -1: pixel (0, 0), blue, not (1, 0),
    // white.
    EmfBuilder emf(50, 50);
    const int64_t one = 0x3f800000;      // 1.0f
    const int64_t minusOne = 0xbf800000; // -1.0f
    emf.record(77, {0, 0,   49,       49, 0, 0, 50,  50, 0x00cc0020, 1,  0, one, 0,
                    0, one, minusOne, 0,  0, 0, 108, 40, 148,        16, 1, 1},
               twoByTwoDib());
    const QImage image = load(mFolder, "src.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::blue));
}

TEST_F(MetafilePlayerTest, EmfAnisotropicMappingAndWorldTransform)
{
    EmfBuilder emf(100, 100);
    emf.record(17, {8});        // anisotropic
    emf.record(9, {10, 10});    // window extent
    emf.record(11, {100, 100}); // viewport extent
    emf.solidBrush(1, kRed).select(1).nullPen();
    emf.record(43, {5, 5, 10, 10}); // the bottom-right quarter
    // Shifted by 2 logical units to the left by a world transform.
    const auto one = static_cast<int64_t>(0x3f800000u);
    const auto minusTwo = static_cast<int64_t>(0xc0000000u);
    emf.record(35, {one, 0, 0, one, minusTwo, 0});
    emf.solidBrush(2, kBlue).select(2);
    emf.record(43, {2, 0, 4, 2}); // lands on x 0..2
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::red));
    EXPECT_EQ(at(image, 25, 75), QColor(Qt::white));
    EXPECT_EQ(at(image, 10, 10), QColor(Qt::blue));
    EXPECT_EQ(at(image, 30, 10), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, EmfStretchDibitsAndText)
{
    EmfBuilder emf(100, 100);
    emf.stretchTwoByTwo(0, 0, 100, 50, 0x00cc0020);
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 10), QColor(Qt::blue));
    EXPECT_EQ(at(image, 25, 40), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 40), QColor(Qt::green));
    EXPECT_EQ(at(image, 50, 75), QColor(Qt::white));

    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        GTEST_SKIP() << "no GUI application for fonts";
    }
    EmfBuilder text(100, 100);
    Bytes font; // EXTCREATEFONTINDIRECTW: height -40, bold, face "Sans"
    font.u32(1).u32(static_cast<uint32_t>(-40)).u32(0).u32(0).u32(0).u32(700).u32(0).u32(0);
    std::u16string face = u"Sans";
    face.resize(32, u'\0');
    for (const char16_t c : face) {
        font.u16(c);
    }
    text.record(82, {}, font.data()).select(1);
    text.record(24, {kBlue}).record(18, {1});
    // EXTTEXTOUTW: bounds, mode, scales, reference (10, 50), 2 chars at 76,
    // no options, rectangle, no advances; then "WW".
    Bytes chars;
    chars.u16('W').u16('W');
    text.record(84, {0, 0, 0, 0, 1, 0, 0, 10, 50, 2, 76, 0, 0, 0, 0, 0, 0}, chars.data());
    const QImage written = load(mFolder, "b.emf", text.build());
    ASSERT_FALSE(written.isNull());
    EXPECT_GT(countNear(written, QRect(0, 50, 100, 50), QColor(Qt::blue)), 100);
    EXPECT_EQ(countNear(written, QRect(0, 0, 100, 45), QColor(Qt::blue)), 0);
}

TEST_F(MetafilePlayerTest, DamagedEmfGivesNoPicture)
{
    EmfBuilder emf(50, 50, 2);
    emf.solidBrush(1, kRed).select(1).record(43, {0, 0, 10, 10});
    const std::string whole = emf.build();
    ASSERT_FALSE(load(mFolder, "whole.emf", whole).isNull());
    EXPECT_TRUE(load(mFolder, "cut.emf", whole.substr(0, whole.size() - 10)).isNull());
    EXPECT_TRUE(load(mFolder, "header.emf", whole.substr(0, 60)).isNull());

    // An object index beyond the two handles of the header.
    EmfBuilder outside(50, 50, 2);
    outside.solidBrush(1, kRed).select(7).record(43, {0, 0, 10, 10});
    EXPECT_TRUE(load(mFolder, "select.emf", outside.build()).isNull());
    EmfBuilder created(50, 50, 2);
    created.solidBrush(9, kRed);
    EXPECT_TRUE(load(mFolder, "create.emf", created.build()).isNull());

    // A bitmap whose offsets point outside its record.
    EmfBuilder bitmap(50, 50);
    bitmap.record(81, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 4000, 120, 16, 0, 0x00cc0020, 10, 10});
    EXPECT_TRUE(load(mFolder, "bitmap.emf", bitmap.build()).isNull());

    // A poly-polygon whose counts exceed its points.
    EmfBuilder counts(50, 50);
    counts.record(8, {0, 0, 0, 0, 1, 2, 0x7fffffff, 0, 0, 1, 1});
    EXPECT_TRUE(load(mFolder, "counts.emf", counts.build()).isNull());
}

TEST_F(MetafilePlayerTest, WmfArcsPiesChordsAndEllipses)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kRed).select(0).pen(5, 0, 0).select(1);
    // A pie over the box (0,0)-(100,100) from the right (100, 50) counter-
    // clockwise to the top (50, 0): the top-right quarter.
    wmf.record(0x081a, {0, 50, 50, 100, 100, 100, 0, 0});
    // A chord in the bottom half of the box: from left (0,50) counter-
    // clockwise to right (100,50) runs through the bottom.
    wmf.solidBrush(kBlue).select(2);
    wmf.record(0x0830, {50, 100, 50, 0, 100, 100, 0, 0});
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 70, 30), QColor(Qt::red));
    EXPECT_EQ(at(image, 30, 30), QColor(Qt::white));
    EXPECT_EQ(at(image, 50, 80), QColor(Qt::blue));
    EXPECT_EQ(at(image, 3, 97), QColor(Qt::white)); // outside the circle

    WmfBuilder round;
    round.window(0, 0, 100, 100).solidBrush(kGreen).select(0).pen(5, 0, 0).select(1);
    round.record(0x0418, {100, 100, 0, 0});         // ellipse
    round.record(0x061c, {40, 40, 90, 90, 60, 60}); // rounded rectangle
    const QImage shapes = load(mFolder, "b.wmf", round.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(shapes.isNull());
    EXPECT_EQ(at(shapes, 50, 50), QColor(Qt::green));
    EXPECT_EQ(at(shapes, 3, 3), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, WmfHatchedAndPatternBrushes)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).pen(5, 0, 0).select(0);
    wmf.record(0x0201, {WmfBuilder::lo(kGreen), WmfBuilder::hi(kGreen)}); // background colour
    wmf.record(0x02fc, {2, WmfBuilder::lo(kBlue), WmfBuilder::hi(kBlue), 0}).select(1);
    wmf.rectangle(0, 0, 50, 100); // horizontal blue hatch on green
    // A pattern brush from the 2 x 2 bitmap.
    wmf.record(0x0142, {5, 0}, twoByTwoDib()).select(2);
    wmf.rectangle(50, 0, 100, 100);
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    const QRect hatched(0, 0, 50, 100);
    EXPECT_GT(countNear(image, hatched, QColor(Qt::blue)), 200);
    EXPECT_GT(countNear(image, hatched, QColor(Qt::green)), 2000);
    EXPECT_EQ(countNear(image, hatched, QColor(Qt::white)), 0);
    const QRect patterned(50, 0, 50, 100);
    EXPECT_GT(countNear(image, patterned, QColor(Qt::red)), 500);
    EXPECT_GT(countNear(image, patterned, QColor(Qt::blue)), 500);
}

TEST_F(MetafilePlayerTest, WmfRegionsClipAndFill)
{
    // A region of one scan covering x 0..50, y 0..100.
    const std::vector<int> region = {0, 6, 0, 0, 30, 1, 50, 0, 0, 50, 100, 2, 0, 100, 0, 50, 2};
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).pen(5, 0, 0).select(0).record(0x06ff, region);
    wmf.solidBrush(kRed).select(2);
    wmf.record(0x012c, {1}).rectangle(0, 0, 100, 50); // clipped to the region
    wmf.record(0x01f0, {2}).record(0x012c, {2});      // an empty slot: unclipped
    wmf.solidBrush(kBlue);                            // takes the free slot 2
    wmf.record(0x0228, {1, 2});                       // fill the region with it
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 75), QColor(Qt::blue));
    EXPECT_EQ(at(image, 75, 25), QColor(Qt::white));
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, WmfDeviceBitmapsAndBitmapTransfers)
{
    // A monochrome device bitmap of 8 x 1: left half set (white), right half black.
    Bytes device;
    device.u16(0).u16(8).u16(1).u16(2).u8(1).u8(1).u8(0xf0).u8(0);
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100);
    wmf.record(0x0b23, {0x0020, 0x00cc, 1, 8, 0, 0, 100, 100, 0, 0}, device.data());
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 25, 50), QColor(Qt::white));
    EXPECT_EQ(at(image, 75, 50), QColor(Qt::black));

    // A transfer without a bitmap fills with the brush; whiteness clears.
    WmfBuilder blt;
    blt.window(0, 0, 100, 100).solidBrush(kRed).select(0);
    blt.record(0x0940, {0x0021, 0x00f0, 0, 0, 0, 100, 100, 0, 0}); // pattern copy, all
    blt.record(0x061d, {0x0062, 0x00ff, 50, 50, 0, 0});            // whiteness, a quarter
    const QImage filled = load(mFolder, "b.wmf", blt.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(filled.isNull());
    EXPECT_EQ(at(filled, 75, 75), QColor(Qt::red));
    EXPECT_EQ(at(filled, 25, 25), QColor(Qt::white));

    // An inverting transfer keeps to the clip: only the left half turns cyan.
    WmfBuilder inverted;
    inverted.window(0, 0, 100, 100).solidBrush(kRed).select(0);
    inverted.record(0x061d, {0x0021, 0x00f0, 100, 100, 0, 0}); // pattern copy, all
    inverted.record(0x0416, {100, 50, 0, 0});                  // clip to the left half
    inverted.record(0x061d, {0x0009, 0x0055, 100, 100, 0, 0}); // invert, all
    const QImage half = load(mFolder, "c.wmf", inverted.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(half.isNull());
    EXPECT_EQ(at(half, 25, 50), QColor(Qt::cyan));
    EXPECT_EQ(at(half, 75, 50), QColor(Qt::red));
}

TEST_F(MetafilePlayerTest, SavedStatesAreBoundedAndUnmatchedRestoresIgnored)
{
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100).solidBrush(kRed).select(0);
    for (int i = 0; i < 3000; ++i) {
        wmf.record(0x001e, {});
    }
    wmf.record(0x0127, {static_cast<uint16_t>(-5000)}).record(0x0127, {7000});
    wmf.rectangle(0, 0, 100, 100);
    const QImage image = load(mFolder, "a.wmf", wmf.placeable(0, 0, 100, 100, 96));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 50, 50), QColor(Qt::red));
}

TEST_F(MetafilePlayerTest, FilesThatPaintWithoutEndAreStopped)
{
    // Far more full-picture fills of the largest picture than any real file
    // has: refused instead of keeping the player busy for minutes.
    WmfBuilder wmf;
    wmf.window(0, 0, 8000, 8000).solidBrush(kRed).select(0);
    for (int i = 0; i < 400; ++i) {
        wmf.record(0x061d, {0x0021, 0x00f0, 8000, 8000, 0, 0});
    }
    EXPECT_TRUE(load(mFolder, "a.wmf", wmf.placeable(0, 0, 8000, 8000, 96)).isNull());
}

// A 1-bit DIB of 8 x 8 pixels, black (0) and white (1) columns in turn,
// with its header and two-colour table, packed as pattern brushes hold it.
std::string stripedDib()
{
    Bytes dib;
    dib.u32(40).u32(8).u32(8).u16(1).u16(1).u32(0).u32(32).u32(0).u32(0).u32(2).u32(0);
    dib.u32(0x000000).u32(0xffffff);
    for (int row = 0; row < 8; ++row) {
        dib.u8(0x55).u8(0).u8(0).u8(0); // 01010101: black, white, ...
    }
    return dib.data();
}

TEST_F(MetafilePlayerTest, GradientFillsShadeRectanglesAndTriangles)
{
    EmfBuilder emf(100, 100);
    // Two vertices: (0, 0) black, (100, 40) red; one rectangle across.
    const auto vertex = [](int64_t x, int64_t y, int64_t r, int64_t g, int64_t b) {
        return std::vector<int64_t>{x, y, r | (g << 16), b};
    };
    std::vector<int64_t> across = {0, 0, 0, 0, 2, 1, 0};
    for (const auto& v : {vertex(0, 0, 0, 0, 0), vertex(100, 40, 0xff00, 0, 0)}) {
        across.insert(across.end(), v.begin(), v.end());
    }
    across.insert(across.end(), {0, 1});
    emf.record(118, across);
    // Three vertices red, green and blue; one triangle.
    std::vector<int64_t> triangle = {0, 0, 0, 0, 3, 1, 2};
    for (const auto& v : {vertex(0, 50, 0xff00, 0, 0), vertex(99, 50, 0, 0xff00, 0),
                          vertex(50, 99, 0, 0, 0xff00)}) {
        triangle.insert(triangle.end(), v.begin(), v.end());
    }
    triangle.insert(triangle.end(), {0, 1, 2});
    emf.record(118, triangle);
    const QImage image = load(mFolder, "gradient.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    // Across: dark on the left, red on the right, half way between.
    EXPECT_LT(at(image, 2, 20).red(), 20);
    EXPECT_GT(at(image, 97, 20).red(), 235);
    EXPECT_NEAR(at(image, 50, 20).red(), 128, 12);
    EXPECT_EQ(at(image, 50, 20).green(), 0);
    // The triangle: each corner's colour near it, a mixture inside.
    EXPECT_GT(at(image, 4, 51).red(), 200);
    EXPECT_GT(at(image, 94, 51).green(), 200);
    EXPECT_GT(at(image, 50, 95).blue(), 200);
    const QColor middle = at(image, 50, 66);
    EXPECT_GT(middle.red(), 40);
    EXPECT_GT(middle.green(), 40);
    EXPECT_GT(middle.blue(), 40);
    EXPECT_EQ(at(image, 5, 95), QColor(Qt::white)); // outside the triangle
}

TEST_F(MetafilePlayerTest, PatternBrushesAndPensPaintWithTheirBitmaps)
{
    // A WMF pattern brush of style BS_PATTERN holds a DIB, as the device
    // reads it.
    WmfBuilder wmf;
    wmf.window(0, 0, 40, 40).record(0x0142, {3, 0}, stripedDib()).select(0);
    wmf.record(0x02fa, {5, 0, 0, 0, 0}).select(1); // no pen
    wmf.rectangle(0, 0, 40, 40);
    const QImage striped = load(mFolder, "pattern.wmf", wmf.placeable(0, 0, 40, 40, 96));
    ASSERT_FALSE(striped.isNull());
    EXPECT_NE(at(striped, 10, 10), at(striped, 11, 10)); // the columns alternate
    EXPECT_EQ(at(striped, 10, 10), at(striped, 12, 10));

    // A monochrome EMF brush takes the text colour for its 0 bits and the
    // background colour for its 1 bits; a pen made with a bitmap paints
    // with it, and a hatched pen with its hatch.
    EmfBuilder emf(60, 60);
    const std::string dib = stripedDib();
    emf.record(24, {kRed}).record(25, {kBlue}); // text red, background blue
    emf.record(93, {1, 0, 32, 48, 80, 32}, dib).select(1);
    emf.nullPen().record(43, {0, 0, 30, 30});
    emf.record(95, {2, 52, 48, 100, 32, 0x00010000, 10, 5, 0, 0, 0}, dib).select(2);
    emf.record(39, {3, 1, 0, 0}).select(3); // no fill
    emf.record(27, {5, 45}).record(54, {55, 45});
    const QImage image = load(mFolder, "mono.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    const std::set<QRgb> fill = {at(image, 10, 10).rgb(), at(image, 11, 10).rgb()};
    EXPECT_EQ(fill, (std::set<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
    const std::set<QRgb> stroke = {at(image, 20, 45).rgb(), at(image, 21, 45).rgb()};
    EXPECT_EQ(stroke, (std::set<QRgb>{QColor(Qt::black).rgb(), QColor(Qt::white).rgb()}));
}

TEST_F(MetafilePlayerTest, PensTakeTheDevicesWidthsAndDashes)
{
    // 8 units at 575 an inch come to 1.34 pixels; the device maps both ends
    // of the width to whole pixels and keeps the distance: 2 pixels here.
    WmfBuilder wmf;
    wmf.window(-8, -8, 200, 200).pen(6, 8, 0).select(0);
    wmf.record(0x0214, {50, 0}).record(0x0213, {50, 190}); // move, line across
    const QImage wide = load(mFolder, "wide.wmf", wmf.placeable(-8, -8, 192, 192, 575));
    ASSERT_FALSE(wide.isNull());
    int dark = 0;
    for (int y = 0; y < wide.height(); ++y) {
        dark += at(wide, 20, y).lightness() < 128 ? 1 : 0;
    }
    EXPECT_EQ(dark, 2);
    // A one-pixel dashed pen: dashes of 18 pixels and gaps of 6.
    WmfBuilder dashed;
    dashed.window(0, 0, 100, 20).pen(1, 0, 0).select(0);
    dashed.record(0x0214, {10, 0}).record(0x0213, {10, 100});
    const QImage line = load(mFolder, "dashed.wmf", dashed.placeable(0, 0, 100, 20, 96));
    ASSERT_FALSE(line.isNull());
    std::string pattern;
    for (int x = 0; x < 48; ++x) {
        pattern += at(line, x, 10).lightness() < 128 ? '#' : '.';
    }
    EXPECT_EQ(pattern, std::string(18, '#') + std::string(6, '.') + std::string(18, '#') +
                           std::string(6, '.'));
}

std::span<const uint8_t> bytesOf(const std::string& file)
{
    return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

TEST_F(MetafilePlayerTest, APolygonEveryRowCrossesIsRefusedBeforeItIsFilled)
{
    // 80 KB: one polygon of 20,000 points zig-zagging between the top and
    // the bottom of a 2000-pixel picture, minutes of the raster engine's time.
    const std::string hostile = testing::zigZagEmf(20000, 2000, true);
    DrawBudget budget;
    EXPECT_TRUE(drawMetafilePicture(bytesOf(hostile), budget).isNull());
    EXPECT_EQ(budget.state(), DrawBudget::State::Spent);
    // The same points zig-zagging between left and right cross each row a
    // few times only: cheap, and drawn.
    const std::string tame = testing::zigZagEmf(20000, 2000, false);
    DrawBudget enough;
    const QImage drawn = drawMetafilePicture(bytesOf(tame), enough);
    EXPECT_EQ(enough.state(), DrawBudget::State::Within);
    ASSERT_EQ(drawn.size(), QSize(2001, 2001));          // the frame's both edges are pixels
    EXPECT_EQ(at(drawn, 1000, 1000), QColor(Qt::black)); // the edges crowd the middle
}

TEST_F(MetafilePlayerTest, DrawingEndsWhenItsTimeRunsOutOrItIsStopped)
{
    const std::string many = testing::manyRectanglesEmf(20000, 500);
    DrawBudget::Limits brief;
    brief.cpuSeconds = 0.005;
    DrawBudget timed(brief);
    EXPECT_TRUE(drawMetafilePicture(bytesOf(many), timed).isNull());
    EXPECT_EQ(timed.state(), DrawBudget::State::Spent);
    const std::atomic<bool> stop{true};
    DrawBudget stopped(&stop);
    EXPECT_TRUE(drawMetafilePicture(bytesOf(many), stopped).isNull());
    EXPECT_EQ(stopped.state(), DrawBudget::State::Cancelled);
    DrawBudget whole;
    EXPECT_FALSE(drawMetafilePicture(bytesOf(many), whole).isNull());
    EXPECT_EQ(whole.state(), DrawBudget::State::Within);
}

TEST_F(MetafilePlayerTest, EmfPathsRegionsAndStockObjects)
{
    EmfBuilder emf(100, 100);
    emf.select(0x80000004).select(0x80000008); // black brush, no pen
    emf.record(59, {});                        // begin path
    emf.record(27, {0, 0}).record(54, {100, 0}).record(54, {0, 100}).record(61, {});
    emf.record(60, {}).record(62, {0, 0, 100, 100}); // end, fill: the top-left triangle
    // Clip to the device rectangle (50,50)-(100,100) and fill everything red.
    emf.record(75, {48, 5, 32, 1, 1, 16, 50, 50, 100, 100, 50, 50, 100, 100});
    emf.solidBrush(1, kRed).select(1).record(43, {0, 0, 100, 100});
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 20, 20), QColor(Qt::black));
    EXPECT_EQ(at(image, 80, 20), QColor(Qt::white));
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::red));
    EXPECT_EQ(at(image, 40, 55), QColor(Qt::black));
}

TEST_F(MetafilePlayerTest, EmfMetricMappingGrowsUpwards)
{
    // 0.1 mm units with the origin moved to the bottom-left corner: a 96
    // pixel picture is 254 units high.
    EmfBuilder emf(96, 96);
    emf.record(17, {2});     // low metric
    emf.record(12, {0, 96}); // viewport origin at the bottom
    emf.solidBrush(1, kBlue).select(1).nullPen();
    emf.record(43, {0, 127, 127, 0}); // the bottom-left quarter
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 20, 75), QColor(Qt::blue));
    EXPECT_EQ(at(image, 20, 20), QColor(Qt::white));
    EXPECT_EQ(at(image, 75, 75), QColor(Qt::white));
}

TEST_F(MetafilePlayerTest, EmfTextAlignmentAndOpaqueBox)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        GTEST_SKIP() << "no GUI application for fonts";
    }
    EmfBuilder emf(200, 100);
    Bytes font;
    font.u32(1).u32(static_cast<uint32_t>(-30)).u32(0).u32(0).u32(0).u32(400).u32(0).u32(0);
    for (int i = 0; i < 32; ++i) {
        font.u16(i < 4 ? "Sans"[i] : 0);
    }
    emf.record(82, {}, font.data()).select(1);
    emf.record(22, {2 | 24}).record(24, {kRed}).record(18, {1}); // right, baseline
    emf.record(25, {kGreen});                                    // background colour
    Bytes chars;
    chars.u16('M').u16('M');
    // Reference (190, 60), opaque box (0, 80)-(200, 100).
    emf.record(84, {0, 0, 0, 0, 1, 0, 0, 190, 60, 2, 76, 2, 0, 80, 200, 100, 0}, chars.data());
    const QImage image = load(mFolder, "a.emf", emf.build());
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(countNear(image, QRect(100, 30, 90, 30), QColor(Qt::red)), 50);
    EXPECT_EQ(countNear(image, QRect(0, 0, 100, 80), QColor(Qt::red)), 0);
    EXPECT_EQ(countNear(image, QRect(0, 62, 200, 18), QColor(Qt::red)), 0);
    EXPECT_EQ(at(image, 10, 90), QColor(Qt::green));
}

// Text turned by its font's escapement: counter-clockwise on the device, and
// the other way where the mapping mirrors one axis, as the device does.
TEST_F(MetafilePlayerTest, EscapementTurnsTheTextAndAMirroredMappingTurnsItBack)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        GTEST_SKIP() << "no GUI application for fonts";
    }
    const auto turnedText = [&](bool mirrored) {
        EmfBuilder emf(200, 200);
        if (mirrored) {
            emf.record(17, {8}).record(9, {200, 200}).record(11, {200, -200});
            emf.record(12, {0, 199}); // y grows upwards
        }
        Bytes font; // height -30, escapement 90 degrees
        font.u32(1).u32(static_cast<uint32_t>(-30)).u32(0).u32(900).u32(900).u32(400);
        font.u32(0).u32(0);
        for (int i = 0; i < 32; ++i) {
            font.u16(i < 5 ? "Arial"[i] : 0);
        }
        emf.record(82, {}, font.data()).select(1);
        emf.record(22, {24}).record(24, {kRed}); // baseline
        Bytes chars;
        chars.u16('M').u16('M').u16('M').u16('M');
        emf.record(84, {0, 0, 0, 0, 1, 0, 0, 100, 100, 4, 76, 0, 0, 0, 0, 0, 0}, chars.data());
        return load(mFolder, mirrored ? "mirrored.emf" : "plain.emf", emf.build());
    };
    const QImage plain = turnedText(false);
    ASSERT_FALSE(plain.isNull());
    EXPECT_GT(countNear(plain, QRect(60, 0, 60, 95), QColor(Qt::red)), 50); // upwards
    EXPECT_EQ(countNear(plain, QRect(60, 105, 60, 95), QColor(Qt::red)), 0);
    const QImage mirrored = turnedText(true);
    ASSERT_FALSE(mirrored.isNull());
    EXPECT_EQ(countNear(mirrored, QRect(60, 0, 60, 95), QColor(Qt::red)), 0);
    EXPECT_GT(countNear(mirrored, QRect(60, 105, 60, 95), QColor(Qt::red)), 50); // downwards
}

TEST_F(MetafilePlayerTest, EmfFontsWithExtremeValuesStillDraw)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        GTEST_SKIP() << "no GUI application for fonts";
    }
    EmfBuilder emf(50, 50);
    // Height, width, escapement, orientation and weight at the ends of their range.
    Bytes font;
    font.u32(1).u32(0x80000000u).u32(0x7fffffffu).u32(0x80000000u).u32(0x80000000u);
    font.u32(0x80000000u).u32(0xffffffffu).u32(0);
    for (int i = 0; i < 32; ++i) {
        font.u16(0xffff);
    }
    emf.record(82, {}, font.data()).select(1);
    Bytes chars;
    chars.u16('M').u16('M');
    emf.record(84, {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, 0, 0, 0}, chars.data());
    EXPECT_EQ(load(mFolder, "a.emf", emf.build()).size(), QSize(50, 50));
}

} // namespace
} // namespace vimbrel

namespace vimbrel {
namespace {

TEST(MetafileStrings, SymbolFontCodesBecomeTheCharactersTheirGlyphsShow)
{
    using metafile_strings::fromSymbolFont;
    EXPECT_EQ(fromSymbolFont(QStringLiteral("Dx + a = p")), QStringLiteral(u"Δξ + α = π"));
    // Bytes above 0x7F, and the private-area codes of Unicode text.
    EXPECT_EQ(fromSymbolFont(QString(QChar(0xB3)) + QChar(0xF0A5) + QChar(0xF044)),
              QStringLiteral(u"≥∞Δ"));
    // Digits, brackets and codes without a glyph of their own stay.
    EXPECT_EQ(fromSymbolFont(QStringLiteral("(2)[]\n")), QStringLiteral("(2)[]\n"));

    // The face Symbol is symbol-coded whatever set is asked for; its bytes
    // are never read as Shift-JIS pairs.
    const uint8_t bytes[] = {'D', 0xEA, 'p'};
    EXPECT_EQ(metafile_strings::textInFont(bytes, 1, QStringLiteral("Symbol")),
              QStringLiteral(u"Δ⎢π"));
    EXPECT_EQ(metafile_strings::textInFont(bytes, 0, QStringLiteral("Arial")),
              QStringLiteral(u"Dêp"));
}

} // namespace
} // namespace vimbrel
