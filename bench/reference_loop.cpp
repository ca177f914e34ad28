#include "bench/reference_loop.h"

#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

namespace vimbrel::bench {
namespace {

struct Failure
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
}

// The whole picture as RGB rows; empty on an error.
std::vector<unsigned char> decodeWhole(const std::string& path, int& width, int& height)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    jpeg_decompress_struct info{};
    Failure errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = fail;
    std::vector<unsigned char> pixels;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = int(info.output_width);
    height = int(info.output_height);
    pixels.resize(size_t(width) * size_t(height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + size_t(info.output_scanline) * size_t(width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return pixels;
}

bool encode(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct info{};
    Failure errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = fail;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::fclose(file);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.data() + size_t(info.next_scanline) * size_t(width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace

int writeReferenceSmallImages(const std::string& photos, const std::string& out)
{
    int written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(photos)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) {
            c = char(std::tolower(static_cast<unsigned char>(c)));
        }
        if (!entry.is_regular_file() || (extension != ".jpg" && extension != ".jpeg")) {
            continue;
        }
        int width = 0;
        int height = 0;
        const std::vector<unsigned char> picture =
            decodeWhole(entry.path().string(), width, height);
        if (picture.empty()) {
            return -1;
        }
        const int targetWidth = 100;
        const int targetHeight = int(int64_t(height) * targetWidth / width);
        if (width <= targetWidth || targetHeight < 2) {
            continue;
        }
        std::vector<unsigned char> small(size_t(targetWidth) * size_t(targetHeight) * 3);
        for (int y = 0; y < targetHeight; ++y) {
            // The source pixel under the centre of the target pixel.
            const int64_t sourceRow = (2 * int64_t(y) + 1) * height / (2 * int64_t(targetHeight));
            for (int x = 0; x < targetWidth; ++x) {
                const int64_t sourceColumn =
                    (2 * int64_t(x) + 1) * width / (2 * int64_t(targetWidth));
                for (int c = 0; c < 3; ++c) {
                    small[(size_t(y) * targetWidth + x) * 3 + c] =
                        picture[(size_t(sourceRow) * width + size_t(sourceColumn)) * 3 + c];
                }
            }
        }
        // Small images are named as the picture with the extension ".jpg".
        if (!encode(out + entry.path().stem().string() + ".jpg", small, targetWidth,
                    targetHeight)) {
            return -1;
        }
        ++written;
    }
    return written;
}

} // namespace vimbrel::bench
