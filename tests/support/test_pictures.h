#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QImage>

namespace vimbrel::testing {

// How a test JPEG is written.
struct JpegPlan
{
    int quality = 95;
    int hSampling = 2; // of the luminance, against 1 for the chroma
    int vSampling = 2;
    bool greyscale = false;
    bool cmyk = false; // Adobe-style inverted CMYK with its APP14 marker
    bool progressive = false;
    int orientation = 0; // EXIF orientation; 0 writes no EXIF segment
    int restartRows = 0; // a restart marker every so many MCU rows
};

// Writes `image` as a JPEG file.
void writeJpeg(const std::string& path, const QImage& image, const JpegPlan& plan = {});

// A picture of `width` x `height` in flat colour blocks of `block` pixels,
// each block a colour of its own.
QImage blockPicture(int width, int height, int block);

// A photo-like picture: smooth gradients with some noise.
QImage photoPicture(int width, int height, unsigned seed);

// The colour of the blocks of blockPicture.
QRgb blockColour(int column, int row);

// What libjpeg reads back from a JPEG file.
struct JpegFacts
{
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool jfif = false;
    bool progressive = false;
    bool ycbcr = false;
    int restartInterval = -1;
    std::vector<int> sampling;         // h, v of each component
    std::vector<int> luminanceTable;   // natural order
    std::vector<int> chrominanceTable; // natural order
    std::vector<int> dcLuminanceBits;  // Huffman code lengths 1..16
    QImage pixels;                     // RGB888
};

JpegFacts readJpeg(const std::string& path);

// True when the file's markers include a baseline frame (SOF0).
bool hasBaselineFrame(const std::string& bytes);

// Largest difference of one channel between two colours.
int colourDistance(QRgb a, QRgb b);

} // namespace vimbrel::testing
