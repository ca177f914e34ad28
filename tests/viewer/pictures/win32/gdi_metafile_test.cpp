// Metafiles drawn by GDI on Windows, against the corpus's renderings by
// Wine's GDI (shared/corpus/metafile/reference-gdi) where both come out at
// the same size, and against damage of every kind.
#include "viewer/pictures/win32/gdi_metafile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <vector>

#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "tests/support/page_test_support.h"
#include "tests/support/test_metafiles.h"
#include "viewer/pictures/win32/wic.h"

namespace vimbrel {
namespace {

std::string corpusFolder()
{
    return testing::sourceFolder() + "/../shared/corpus/metafile/";
}

Raster referenceOf(const std::string& name)
{
    const WholeFile png =
        readWholeFile(corpusFolder() + "reference-gdi/" + name + ".png", 64 << 20);
    const auto* bytes = reinterpret_cast<const uint8_t*>(png.bytes.data());
    return wic::decode(std::span(bytes, png.bytes.size()), wic::Container::Any);
}

// The peak signal-to-noise ratio of two RGB888 rasters, in dB, over the
// part both cover (the corpus's EMF renderings are a pixel larger: they add
// the frame's far edge, where the tool's size rule rounds the frame).
double psnr(const Raster& a, const Raster& b)
{
    const int width = std::min(a.width, b.width);
    const int height = std::min(a.height, b.height);
    double squares = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            const double d = double(a.row(y)[x]) - double(b.row(y)[x]);
            squares += d * d;
        }
    }
    const double mean = squares / (double(width) * height * 3);
    return mean == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mean);
}

TEST(GdiMetafile, TheCorpusDrawsAsWindowsDrawsIt)
{
    std::vector<std::string> names;
    for (const fs::DirEntry& entry :
         fs::listFolder(fs::withSeparator(corpusFolder() + "pictures"))) {
        names.push_back(entry.name);
    }
    ASSERT_GT(names.size(), 100u) << "the metafile corpus is missing at " << corpusFolder();
    int drawn = 0;
    int compared = 0;
    int close = 0;
    for (const std::string& name : names) {
        // Real pictures stay far within the budget that stops hostile ones.
        DrawBudget budget;
        const Raster ours = gdi::loadMetafile(corpusFolder() + "pictures/" + name, budget);
        EXPECT_LT(budget.spent(), DrawBudget::Limits{}.work / 4) << name;
        if (ours.isNull()) {
            continue;
        }
        ++drawn;
        EXPECT_EQ(ours.format, Raster::Format::Rgb888);
        const Raster theirs = referenceOf(name);
        if (theirs.isNull() || std::abs(theirs.width - ours.width) > 1 ||
            std::abs(theirs.height - ours.height) > 1) {
            continue;
        }
        ++compared;
        const double figure = psnr(ours, theirs);
        close += figure >= 30 ? 1 : 0;
        // Far off means drawn wrong, not drawn a little differently.
        EXPECT_GT(figure, 12) << name;
        if (figure < 30) {
            std::cout << name << '\t' << figure << " dB\n";
        }
    }
    std::cout << drawn << " drawn, " << compared << " at the reference's size, " << close
              << " of them within 30 dB\n";
    // Wine's SetWinMetaFileBits turns a WMF into an EMF not quite as its
    // PlayMetaFile draws it (the renderings' way), so some WMFs with text
    // stay below 30 dB.
    EXPECT_EQ(drawn, int(names.size()));
    EXPECT_GT(compared, 90);
    EXPECT_GE(close, compared * 8 / 10);
}

std::span<const uint8_t> bytesOf(const std::string& file)
{
    return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

TEST(GdiMetafile, EndlessDrawingIsRefusedAndAStopEndsTheDrawing)
{
    // One polygon whose edges every row of a 2000-pixel picture crosses:
    // refused before GDI fills it.
    DrawBudget budget;
    EXPECT_TRUE(gdi::drawMetafile(bytesOf(testing::zigZagEmf(20000, 2000, true)), budget).isNull());
    EXPECT_EQ(budget.state(), DrawBudget::State::Spent);
    const std::string many = testing::manyRectanglesEmf(20000, 500);
    const std::atomic<bool> stop{true};
    DrawBudget stopped(&stop);
    EXPECT_TRUE(gdi::drawMetafile(bytesOf(many), stopped).isNull());
    EXPECT_EQ(stopped.state(), DrawBudget::State::Cancelled);
    DrawBudget whole;
    EXPECT_FALSE(gdi::drawMetafile(bytesOf(many), whole).isNull());
}

TEST(GdiMetafile, DamagedFilesGiveNoPictureAndOversizedOnesAreFitted)
{
    DrawBudget budget;
    const std::vector<uint8_t> empty;
    EXPECT_TRUE(gdi::drawMetafile(empty, budget).isNull());
    const std::vector<uint8_t> noise(200, 0x5a);
    EXPECT_TRUE(gdi::drawMetafile(noise, budget).isNull());
    // A placeable header claiming 60000 units at 1 unit an inch.
    std::vector<uint8_t> huge = {0xd7, 0xcd, 0xc6, 0x9a, 0, 0, 0, 0, 0, 0, 0x60,
                                 0xea, 0x60, 0xea, 1,    0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> header = {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    huge.insert(huge.end(), header.begin(), header.end());
    huge.insert(huge.end(), {3, 0, 0, 0, 0, 0});
    // 5,760,000 pixels a side, as a screen would show it: within 4096 a
    // side and 16 megapixels.
    const Raster fitted = gdi::drawMetafile(huge, budget);
    EXPECT_EQ(fitted.width, 4000);
    EXPECT_EQ(fitted.height, 4000);
    EXPECT_TRUE(gdi::loadMetafile(corpusFolder() + "pictures/", budget).isNull());
}

} // namespace
} // namespace vimbrel
