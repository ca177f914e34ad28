#include "bench/our_runs.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/reference_loop.h"
#include "platform/collation.h"
#include "platform/file_system.h"
#include "platform/user_interface.h"
#include "settings/options.h"
#include "viewer/pages/viewer_pages.h"
#include "viewer/show/show_command.h"
#include "viewer/show/show_state.h"
#include "viewer/small_images/small_image_run.h"

namespace vimbrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class SilentUi : public UserInterface
{
public:
    void showMessage(const std::string& text) override
    {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void showFileCount(int) override {}
    void openViewer(const ViewerPages&, bool) override {}
    void setRenameTabEnabled(bool) override {}
    bool reportProgress(int, int) override { return true; }
};

std::vector<std::string> sortedFiles(const std::string& folder)
{
    std::vector<std::string> names;
    for (const fs::DirEntry& entry : fs::listFolder(folder)) {
        if (!entry.directory) {
            names.push_back(entry.name);
        }
    }
    Collator().sort(names);
    return names;
}

int small(const std::string& folder, const std::string& out, int workers, bool plain)
{
    const std::vector<std::string> names = sortedFiles(folder);
    SilentUi ui;
    const auto start = Clock::now();
    const SmallImageResult result =
        MakeSmallImages(names, {folder, out, false}, ui,
                        {plain ? DecodeMode::WholePicture : DecodeMode::KeptRowsOnly, workers});
    const double seconds = secondsSince(start);
    size_t made = 0;
    for (const std::string& name : result.SmallNames) {
        made += name.empty() ? 0 : 1;
    }
    std::printf("%.6f %zu\n", seconds, made);
    return made == names.size() ? 0 : 1;
}

// Decoding every JPEG of the folder, one thread, at scale 1/denominator.
int decode(const std::string& folder, int denominator)
{
    const std::vector<std::string> names = sortedFiles(folder);
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    std::vector<std::uint8_t> row;
    const auto start = Clock::now();
    for (const std::string& name : names) {
        std::FILE* file = std::fopen((folder + name).c_str(), "rb");
        if (file == nullptr) {
            return 1;
        }
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        info.scale_num = 1;
        info.scale_denom = static_cast<unsigned>(denominator);
        jpeg_start_decompress(&info);
        row.resize(size_t(info.output_width) * 3);
        JSAMPROW rows[] = {row.data()};
        while (info.output_scanline < info.output_height) {
            jpeg_read_scanlines(&info, rows, 1);
        }
        jpeg_finish_decompress(&info);
        std::fclose(file);
    }
    const double seconds = secondsSince(start);
    jpeg_destroy_decompress(&info);
    std::printf("%.6f %zu\n", seconds, names.size());
    return 0;
}

void keepToCpus(int cpus)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) {
        return;
    }
    cpu_set_t chosen;
    CPU_ZERO(&chosen);
    int taken = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE && taken < cpus; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            CPU_SET(cpu, &chosen);
            ++taken;
        }
    }
    sched_setaffinity(0, sizeof chosen, &chosen);
}

int show(const std::string& folder, const std::string& appFolder, int cpus)
{
    if (cpus > 0) {
        keepToCpus(cpus); // the maker starts one worker per core it may use
    }
    Options options;
    options.select(&Options::RdoFDwon);
    options.ChkFSub = true;
    ShowState state;
    SilentUi ui;
    const std::string work = appFolder + "Work/";
    fs::createFolders(work);
    const auto start = Clock::now();
    const bool shown = BuildViewer(options, folder, work, state, ui);
    std::printf("%.6f %zu\n", secondsSince(start), state.ImageNames.size());
    return shown ? 0 : 1;
}

int pages(const std::string& appFolder, int count)
{
    std::vector<std::string> names;
    std::vector<std::string> smallNames;
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
        names.push_back(name);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(1));
    Options options;
    options.select(&Options::RdoFDwon);
    const std::string work = appFolder + "Work/";
    fs::createFolders(work);
    const auto start = Clock::now();
    Collator().sort(names);
    const double sortSeconds = secondsSince(start);
    for (const std::string& picture : names) {
        smallNames.push_back(picture.substr(0, picture.size() - 4) + ".jpg");
    }
    const auto pagesStart = Clock::now();
    const PageValues values{options,   names, smallNames, "../photos/", "../photos/img_s/",
                            "../Img/", 1000,  10000,      200};
    writeViewerPages(work, values);
    std::printf("%.6f %.6f\n", sortSeconds, secondsSince(pagesStart));
    return 0;
}

} // namespace

int runMeasurement(int argc, char** argv)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    if (kind == "small" && argc == 6) {
        return small(argv[2], argv[3], std::atoi(argv[4]), std::strcmp(argv[5], "plain") == 0);
    }
    if (kind == "decode" && argc == 4) {
        return decode(argv[2], std::atoi(argv[3]));
    }
    if (kind == "show" && argc == 5) {
        return show(argv[2], argv[3], std::atoi(argv[4]));
    }
    if (kind == "pages" && argc == 4) {
        return pages(argv[2], std::atoi(argv[3]));
    }
    if (kind == "reference" && argc == 4) {
        return writeReferenceSmallImages(argv[2], std::string(argv[3]) + "/") < 0 ? 1 : 0;
    }
    if (kind == "idle") {
        std::printf("0 0\n");
        return 0;
    }
    return -1;
}

} // namespace vimbrel::bench
