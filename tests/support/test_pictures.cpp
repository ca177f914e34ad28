#include "tests/support/test_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace vimbrel::testing {
namespace {

// The APP1 payload of an EXIF block holding only an orientation.
std::vector<unsigned char> exifOrientation(int orientation)
{
    return {'E',
            'x',
            'i',
            'f',
            0,
            0,
            'I',
            'I',
            42,
            0,
            8,
            0,
            0,
            0, // little-endian TIFF, IFD at 8
            1,
            0, // one entry
            0x12,
            0x01,
            3,
            0,
            1,
            0,
            0,
            0, // Orientation, SHORT, count 1
            static_cast<unsigned char>(orientation),
            0,
            0,
            0,
            0,
            0,
            0,
            0}; // no next IFD
}

} // namespace

void writeJpeg(const std::string& path, const QImage& image, const JpegPlan& plan)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = plan.greyscale ? 1 : plan.cmyk ? 4 : 3;
    info.in_color_space = plan.greyscale ? JCS_GRAYSCALE : plan.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, plan.quality, TRUE);
    if (!plan.greyscale && !plan.cmyk) {
        info.comp_info[0].h_samp_factor = plan.hSampling;
        info.comp_info[0].v_samp_factor = plan.vSampling;
    }
    info.restart_in_rows = plan.restartRows;
    if (plan.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    if (plan.orientation != 0) {
        const std::vector<unsigned char> exif = exifOrientation(plan.orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    std::vector<unsigned char> row(static_cast<size_t>(rgb.width()) * 4);
    while (info.next_scanline < info.image_height) {
        const uchar* in = rgb.constScanLine(static_cast<int>(info.next_scanline));
        for (int x = 0; x < rgb.width(); ++x) {
            const uchar* p = in + 3 * x;
            if (plan.greyscale) {
                row[size_t(x)] = p[1];
            } else if (plan.cmyk) {
                // Inverted as Adobe writes it: a byte of 255 is no ink. The
                // colour is expressed as ink on paper with no black.
                row[size_t(4 * x)] = p[0];
                row[size_t(4 * x + 1)] = p[1];
                row[size_t(4 * x + 2)] = p[2];
                row[size_t(4 * x + 3)] = 255;
            } else {
                std::copy_n(p, 3, &row[size_t(3 * x)]);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

QRgb blockColour(int column, int row)
{
    static const QRgb colours[] = {qRgb(220, 30, 30),  qRgb(30, 200, 40),  qRgb(30, 40, 210),
                                   qRgb(240, 230, 40), qRgb(20, 20, 20),   qRgb(235, 235, 235),
                                   qRgb(200, 40, 200), qRgb(40, 200, 200), qRgb(128, 128, 128)};
    return colours[(column + 3 * row) % 9];
}

QImage blockPicture(int width, int height, int block)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, blockColour(x / block, y / block));
        }
    }
    return image;
}

QImage photoPicture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<uchar>(std::clamp(x * 255 / width + noise(random), 0, 255));
            p[1] = static_cast<uchar>(std::clamp(y * 255 / height + noise(random), 0, 255));
            p[2] = static_cast<uchar>(std::clamp(((x ^ y) & 63) * 4 + noise(random), 0, 255));
        }
    }
    return image;
}

JpegFacts readJpeg(const std::string& path)
{
    JpegFacts facts;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return facts;
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    facts.width = static_cast<int>(info.image_width);
    facts.height = static_cast<int>(info.image_height);
    facts.components = info.num_components;
    facts.jfif = info.saw_JFIF_marker;
    facts.progressive = info.progressive_mode;
    facts.ycbcr = info.jpeg_color_space == JCS_YCbCr;
    facts.restartInterval = static_cast<int>(info.restart_interval);
    for (int c = 0; c < info.num_components; ++c) {
        facts.sampling.push_back(info.comp_info[c].h_samp_factor);
        facts.sampling.push_back(info.comp_info[c].v_samp_factor);
    }
    for (int t = 0; t < 2; ++t) {
        std::vector<int>& table = t == 0 ? facts.luminanceTable : facts.chrominanceTable;
        if (info.quant_tbl_ptrs[t] != nullptr) {
            table.assign(info.quant_tbl_ptrs[t]->quantval, info.quant_tbl_ptrs[t]->quantval + 64);
        }
    }
    if (info.dc_huff_tbl_ptrs[0] != nullptr) {
        facts.dcLuminanceBits.assign(info.dc_huff_tbl_ptrs[0]->bits + 1,
                                     info.dc_huff_tbl_ptrs[0]->bits + 17);
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    facts.pixels = QImage(facts.width, facts.height, QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {facts.pixels.scanLine(static_cast<int>(info.output_scanline))};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    facts.ok = true;
    return facts;
}

bool hasBaselineFrame(const std::string& bytes)
{
    return bytes.find("\xFF\xC0") != std::string::npos;
}

int colourDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

} // namespace vimbrel::testing
