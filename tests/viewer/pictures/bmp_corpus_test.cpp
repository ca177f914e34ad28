#include <QImage>

#include <fstream>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/page_test_support.h"
#include "tests/support/temp_folder.h"
#include "viewer/pictures/dib_decoder.h"

#include <QColor>
#include <QImage>

#include "viewer/pictures/qt/qt_raster.h"
#include "viewer/pictures/qt/raster_picture.h"

namespace vimbrel {
namespace {

// The BMP Suite beside the project (shared/corpus/bmp), read in place.
std::string suiteFolder()
{
    return testing::sourceFolder() + "/../shared/corpus/bmp/";
}

QImage decodeFile(const std::string& path)
{
    const std::string bytes = testing::readFile(path);
    return imageOf(
        dib::decodeFile(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())));
}

struct Entry
{
    std::string file; // g/pal1.bmp
    std::vector<std::string> references;
};

std::vector<Entry> suiteMap()
{
    std::vector<Entry> entries;
    std::istringstream lines(testing::readFile(suiteFolder() + "reference-map.txt"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        Entry entry;
        std::istringstream words(line);
        words >> entry.file;
        std::string reference;
        while (words >> reference) {
            entry.references.push_back(reference);
        }
        entries.push_back(entry);
    }
    return entries;
}

// "match", or why not.
std::string compare(const Entry& entry)
{
    const QImage decoded = decodeFile(suiteFolder() + entry.file);
    if (decoded.isNull()) {
        return "refused";
    }
    std::string why = "no reference";
    for (const std::string& name : entry.references) {
        const QImage reference(QString::fromStdString(suiteFolder() + "reference/" + name));
        if (reference.size() != decoded.size()) {
            why = "size differs from " + name;
            continue;
        }
        // Transparency laid on white, the same way for both sides, as the
        // small images are drawn.
        const QImage ours = onWhite(decoded);
        const QImage theirs = onWhite(reference);
        int differing = 0;
        int largest = 0;
        for (int y = 0; y < ours.height(); ++y) {
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y);
                const QRgb b = theirs.pixel(x, y);
                const int d =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
                differing += d > 0 ? 1 : 0;
                largest = std::max(largest, d);
            }
        }
        if (differing == 0) {
            return "match";
        }
        why = std::to_string(differing) + " pixels differ from " + name + " (by up to " +
              std::to_string(largest) + ")";
    }
    return why;
}

TEST(BmpSuite, GoodAndQuestionableFilesMatchTheirReferences)
{
    const std::vector<Entry> entries = suiteMap();
    ASSERT_GT(entries.size(), 60u) << "the BMP Suite is missing at " << suiteFolder();
    int matched = 0;
    int checked = 0;
    std::ostringstream table;
    table << "| file | result |\n|---|---|\n";
    for (const Entry& entry : entries) {
        if (entry.file.rfind("b/", 0) == 0 || entry.references.empty()) {
            continue;
        }
        const std::string result = compare(entry);
        table << "| " << entry.file << " | " << result << " |\n";
        ++checked;
        matched += result == "match" ? 1 : 0;
        // Files the suite calls good must all match.
        if (entry.file.rfind("g/", 0) == 0) {
            EXPECT_EQ(result, "match") << entry.file;
        }
    }
    std::cout << table.str() << matched << " of " << checked << " match\n";
}

TEST(BmpSuite, BadFilesAreRefusedOrDecodedSafely)
{
    // Under the sanitizers, reading each bad file is the test.
    int refused = 0;
    int decoded = 0;
    for (const Entry& entry : suiteMap()) {
        if (entry.file.rfind("b/", 0) != 0) {
            continue;
        }
        const QImage image = decodeFile(suiteFolder() + entry.file);
        (image.isNull() ? refused : decoded)++;
        std::cout << entry.file << ": " << (image.isNull() ? "refused" : "decoded") << "\n";
    }
    EXPECT_EQ(refused + decoded, 20);
}

} // namespace
} // namespace vimbrel
