#include "bench/corpus.h"

#include <sys/stat.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include <jpeglib.h>

namespace vimbrel::bench {
namespace {

struct Random
{
    std::uint64_t state;
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::uint32_t>(state);
    }
};

std::uint8_t clampByte(int value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// A lattice value in -1..1 for texture, smooth between lattice points.
float lattice(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 374761393U + y * 668265263U + seed * 2246822519U;
    h = (h ^ (h >> 13)) * 1274126177U;
    return static_cast<float>(h & 0xFFFF) / 32767.5F - 1.0F;
}

void writePhoto(const std::string& path, int width, int height, std::uint32_t seed)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);

    Random random{0x9E3779B97F4A7C15ULL ^ seed};
    const float phase = static_cast<float>(seed % 97);
    std::vector<float> waveX(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        waveX[size_t(x)] = std::sin(static_cast<float>(x) * 6.0F / width + phase);
    }
    std::vector<std::uint8_t> row(static_cast<size_t>(width) * 3);
    constexpr int kCell = 6; // texture grain in pixels
    for (int y = 0; y < height; ++y) {
        const float waveY = std::cos(static_cast<float>(y) * 5.0F / height + phase * 0.5F);
        const auto cellY = static_cast<std::uint32_t>(y / kCell);
        const float fy = static_cast<float>(y % kCell) / kCell;
        for (int x = 0; x < width; ++x) {
            const auto cellX = static_cast<std::uint32_t>(x / kCell);
            const float fx = static_cast<float>(x % kCell) / kCell;
            const float top =
                lattice(cellX, cellY, seed) * (1 - fx) + lattice(cellX + 1, cellY, seed) * fx;
            const float bottom = lattice(cellX, cellY + 1, seed) * (1 - fx) +
                                 lattice(cellX + 1, cellY + 1, seed) * fx;
            const float texture = (top * (1 - fy) + bottom * fy) * 30.0F;
            const float shape = waveX[size_t(x)] * waveY * 70.0F;
            const std::uint32_t noise = random.next();
            const int grain = static_cast<int>(noise & 15) - 7;
            std::uint8_t* p = &row[size_t(x) * 3];
            p[0] = clampByte(130 + static_cast<int>(shape + texture) + grain);
            p[1] = clampByte(115 + static_cast<int>(shape * 0.6F + texture) +
                             static_cast<int>((noise >> 4) & 15) - 7);
            p[2] = clampByte(100 - static_cast<int>(shape * 0.4F - texture * 0.7F) +
                             static_cast<int>((noise >> 8) & 15) - 7);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

double fileMegabytes(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0;
}

} // namespace

Corpus makeCorpus(const std::string& root, const CorpusPlan& plan, int threads)
{
    Corpus corpus;
    corpus.photoFolder = root + "photos/";
    corpus.smallFolder = root + "smalls/";
    ::mkdir(corpus.photoFolder.c_str(), 0755);
    ::mkdir(corpus.smallFolder.c_str(), 0755);

    struct Job
    {
        std::string path;
        int width;
        int height;
    };
    std::vector<Job> jobs;
    char name[64];
    for (int i = 0; i < plan.large; ++i) {
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
        corpus.photos.push_back(name);
        jobs.push_back({corpus.photoFolder + name, 4000, 3000});
    }
    for (int i = 0; i < plan.hd; ++i) {
        std::snprintf(name, sizeof name, "HD_%04d.jpg", i);
        corpus.photos.push_back(name);
        jobs.push_back({corpus.photoFolder + name, 1920, 1080});
    }
    for (int i = 0; i < plan.small; ++i) {
        std::snprintf(name, sizeof name, "p%05d.jpg", i);
        corpus.smalls.push_back(name);
        jobs.push_back({corpus.smallFolder + name, 400, 300});
    }
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (size_t i = next++; i < jobs.size(); i = next++) {
                writePhoto(jobs[i].path, jobs[i].width, jobs[i].height,
                           static_cast<std::uint32_t>(i + 1));
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (size_t i = 0; i < corpus.photos.size(); ++i) {
        corpus.megapixels += jobs[i].width * double(jobs[i].height) / 1e6;
        corpus.megabytes += fileMegabytes(jobs[i].path);
    }
    return corpus;
}

} // namespace vimbrel::bench
