// The speed of the Show command's small images, side by side with the tools
// a user would otherwise script, on a corpus the benchmark makes itself.
//
//   show_bench [--large N] [--hd N] [--small N] [--names N] [--repeat N]
//              [--quick] [--folder DIR] [--keep]
#include <sched.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <jconfig.h>

#include "bench/corpus.h"
#include "bench/our_runs.h"
#include "bench/process_pool.h"

namespace fs = std::filesystem;
using namespace vimbrel::bench;

namespace {

#define VIMBREL_TEXT_OF(x) #x
#define VIMBREL_TEXT(x) VIMBREL_TEXT_OF(x)

struct Settings
{
    CorpusPlan corpus;
    int names = 10000;
    int repeat = 1;
    std::string folder;
    bool keep = false;
};

struct Row
{
    std::string label;
    double seconds = -1;
    long peakKilobytes = 0;
    bool photos = true; // a run over the photo corpus, with rates
    std::string note;
};

int usableCores()
{
    cpu_set_t allowed;
    return sched_getaffinity(0, sizeof allowed, &allowed) == 0 ? CPU_COUNT(&allowed) : 1;
}

std::string self()
{
    return fs::read_symlink("/proc/self/exe").string();
}

std::string firstLine(const std::vector<std::string>& argv)
{
    if (!onPath(argv[0])) {
        return "not installed";
    }
    const std::string out = runChild(argv).output;
    return out.substr(0, out.find('\n'));
}

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            return line.substr(line.find(':') + 2);
        }
    }
    return "unknown";
}

// Runs one of our measurements `repeat` times in a child; keeps the fastest.
Row measure(const std::string& label, std::vector<std::string> argv, int repeat,
            const std::function<void()>& before = {})
{
    Row row;
    row.label = label;
    argv.insert(argv.begin(), self());
    for (int i = 0; i < repeat; ++i) {
        if (before) {
            before();
        }
        const ChildResult result = runChild(argv);
        double seconds = -1;
        std::istringstream(result.output) >> seconds;
        if (result.exitCode != 0 || seconds < 0) {
            row.note = "failed";
            return row;
        }
        if (row.seconds < 0 || seconds < row.seconds) {
            row.seconds = seconds;
        }
        row.peakKilobytes = std::max(row.peakKilobytes, result.peakKilobytes);
    }
    return row;
}

Row measurePeer(const std::string& label, const std::vector<std::vector<std::string>>& commands,
                int parallel, int repeat, const std::string& program)
{
    Row row;
    row.label = label;
    if (!onPath(program)) {
        row.note = program + " not installed";
        return row;
    }
    for (int i = 0; i < repeat; ++i) {
        const double seconds = runAll(commands, parallel);
        if (seconds < 0) {
            row.note = "failed";
            return row;
        }
        if (row.seconds < 0 || seconds < row.seconds) {
            row.seconds = seconds;
        }
    }
    return row;
}

bool sameFiles(const std::string& a, const std::string& b, size_t& compared)
{
    compared = 0;
    for (const auto& entry : fs::directory_iterator(a)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::ifstream first(entry.path(), std::ios::binary);
        std::ifstream second(fs::path(b) / entry.path().filename(), std::ios::binary);
        std::stringstream x;
        std::stringstream y;
        x << first.rdbuf();
        y << second.rdbuf();
        if (!second || x.str() != y.str()) {
            return false;
        }
        ++compared;
    }
    return compared > 0;
}

void warm(const std::string& folder)
{
    std::vector<char> buffer(1 << 20);
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        while (in.read(buffer.data(), std::streamsize(buffer.size()))) {
        }
    }
}

Settings parse(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--large") {
            settings.corpus.large = number();
        } else if (arg == "--hd") {
            settings.corpus.hd = number();
        } else if (arg == "--small") {
            settings.corpus.small = number();
        } else if (arg == "--names") {
            settings.names = number();
        } else if (arg == "--repeat") {
            settings.repeat = std::max(1, number());
        } else if (arg == "--quick") {
            settings.corpus.large = 10;
            settings.corpus.hd = 5;
        } else if (arg == "--folder" && i + 1 < argc) {
            settings.folder = argv[++i];
        } else if (arg == "--keep") {
            settings.keep = true;
        } else {
            std::fprintf(stderr, "usage: show_bench [--large N] [--hd N] [--small N] [--names N] "
                                 "[--repeat N] [--quick] [--folder DIR] [--keep]\n");
            std::exit(2);
        }
    }
    return settings;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int code = runMeasurement(argc, argv); code != -1) {
        return code;
    }
    const Settings settings = parse(argc, argv);
    const int cores = usableCores();
    std::string root = settings.folder;
    if (root.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/vimbrel-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        root = pattern;
    }
    root = fs::absolute(root).string() + "/";
    fs::create_directories(root);

    utsname machine{};
    ::uname(&machine);
    std::printf("Machine: %s, %d usable cores, %s %s\n", cpuModel().c_str(), cores, machine.sysname,
                machine.release);
    std::printf("libjpeg-turbo %s; %s; %s; %s\n", VIMBREL_TEXT(LIBJPEG_TURBO_VERSION),
                firstLine({"convert", "-version"}).c_str(),
                firstLine({"vipsthumbnail", "--version"}).c_str(),
                firstLine({"gm", "version"}).c_str());
    std::printf("Corpus in %s: making %d photos of 4000x3000, %d of 1920x1080, %d of 400x300...\n",
                root.c_str(), settings.corpus.large, settings.corpus.hd, settings.corpus.small);
    std::fflush(stdout);
    const Corpus corpus = makeCorpus(root, settings.corpus, cores);
    const double images = static_cast<double>(corpus.photos.size());
    std::printf("Corpus: %zu photos, %.1f megapixels, %.1f MB of JPEG (%.2f bits per pixel)\n\n",
                corpus.photos.size(), corpus.megapixels, corpus.megabytes,
                corpus.megabytes * 8 / corpus.megapixels);
    std::fflush(stdout);
    warm(corpus.photoFolder);
    warm(corpus.smallFolder);

    const std::string photos = corpus.photoFolder;
    auto fresh = [&](const std::string& name) {
        const std::string folder = root + name + "/";
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    };
    const std::string cpus = std::to_string(cores);
    const int repeat = settings.repeat;
    std::vector<Row> rows;

    const std::string plainOut = fresh("plain");
    rows.push_back(measure("plain loop: whole decode, 1 thread (baseline)",
                           {"small", photos, plainOut, "1", "plain"}, repeat));
    const std::string oneOut = fresh("fast1");
    rows.push_back(measure("small images, kept rows, 1 worker",
                           {"small", photos, oneOut, "1", "fast"}, repeat));
    const std::string allOut = fresh("fastN");
    rows.push_back(measure("small images, kept rows, " + cpus + " workers",
                           {"small", photos, allOut, cpus, "fast"}, repeat));
    const std::string app = root + "app/";
    fs::create_directories(app);
    auto clearSmall = [&] { fs::remove_all(photos + "img_s"); };
    rows.push_back(measure("first Show run (list, sort, small images, pages), 1 core",
                           {"show", photos, app, "1"}, repeat, clearSmall));
    rows.push_back(measure("first Show run (list, sort, small images, pages), " + cpus + " cores",
                           {"show", photos, app, "0"}, repeat, clearSmall));
    rows.push_back(measure("decode floor: libjpeg-turbo full decode, 1 thread",
                           {"decode", photos, "1"}, repeat));
    rows.push_back(measure("Huffman floor: libjpeg-turbo decode at 1/8, 1 thread",
                           {"decode", photos, "8"}, repeat));

    auto perFile = [&](const std::string& folder, auto make) {
        std::vector<std::vector<std::string>> commands;
        for (const std::string& name : corpus.photos) {
            commands.push_back(make(photos + name, folder + name + ".jpg"));
        }
        return commands;
    };
    const std::string peer = fresh("peer");
    rows.push_back(measurePeer(
        "ImageMagick convert -sample 100x, " + cpus + " processes",
        perFile(peer,
                [](const std::string& in, const std::string& out) {
                    return std::vector<std::string>{"convert", in, "-sample", "100x", out};
                }),
        cores, repeat, "convert"));
    rows.push_back(measurePeer(
        "ImageMagick convert -define jpeg:size=200x200 -sample 100x, " + cpus + " processes",
        perFile(peer,
                [](const std::string& in, const std::string& out) {
                    return std::vector<std::string>{
                        "convert", "-define", "jpeg:size=200x200", in, "-sample", "100x", out};
                }),
        cores, repeat, "convert"));
    std::vector<std::vector<std::string>> vips(static_cast<size_t>(cores));
    for (size_t i = 0; i < vips.size(); ++i) {
        vips[i] = {"vipsthumbnail", "--size", "100x", "-o", peer + "%s.jpg"};
    }
    for (size_t i = 0; i < corpus.photos.size(); ++i) {
        vips[i % vips.size()].push_back(photos + corpus.photos[i]);
    }
    rows.push_back(measurePeer("vipsthumbnail --size 100x, " + cpus + " processes", vips, cores,
                               repeat, "vipsthumbnail"));
    rows.push_back(measurePeer("GraphicsMagick gm convert -sample 100x, " + cpus + " processes",
                               perFile(peer,
                                       [](const std::string& in, const std::string& out) {
                                           return std::vector<std::string>{
                                               "gm", "convert", in, "-sample", "100x", out};
                                       }),
                               cores, repeat, "gm"));

    // The repeated run: small images exist for every picture.
    const std::string smalls = corpus.smallFolder;
    runChild({self(), "show", smalls, app, "0"});
    Row repeated = measure("repeated Show run with 差分作成, " +
                               std::to_string(corpus.smalls.size()) + " pictures",
                           {"show", smalls, app, "0"}, repeat);
    repeated.photos = false;
    rows.push_back(repeated);

    Row pages;
    pages.label = "sort and seven pages for " + std::to_string(settings.names) + " names";
    pages.photos = false;
    const ChildResult paged = runChild({self(), "pages", app, std::to_string(settings.names)});
    double sortSeconds = -1;
    double pageSeconds = -1;
    std::istringstream(paged.output) >> sortSeconds >> pageSeconds;
    pages.seconds = paged.exitCode == 0 ? sortSeconds + pageSeconds : -1;
    pages.peakKilobytes = paged.peakKilobytes;
    char split[96];
    std::snprintf(split, sizeof split, "sort %.3f s, pages %.3f s", sortSeconds, pageSeconds);
    pages.note = split;
    rows.push_back(pages);
    const ChildResult idle = runChild({self(), "idle"});

    std::printf("| run | seconds | images/s | MP/s | vs baseline | peak RSS MB | note |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---|\n");
    const double baseline = rows[0].seconds;
    for (const Row& row : rows) {
        if (row.seconds < 0) {
            std::printf("| %s | - | - | - | - | - | %s |\n", row.label.c_str(), row.note.c_str());
            continue;
        }
        if (!row.photos) {
            std::printf("| %s | %.3f | - | - | - | %.1f | %s |\n", row.label.c_str(), row.seconds,
                        row.peakKilobytes / 1024.0, row.note.c_str());
            continue;
        }
        std::printf("| %s | %.2f | %.1f | %.0f | %.2fx | %s | %s |\n", row.label.c_str(),
                    row.seconds, images / row.seconds, corpus.megapixels / row.seconds,
                    baseline / row.seconds,
                    row.peakKilobytes > 0 ? std::to_string(row.peakKilobytes / 1024).c_str() : "-",
                    row.note.c_str());
    }
    std::printf("\nProgram alone (idle child): %.1f MB peak RSS\n", idle.peakKilobytes / 1024.0);

    size_t compared = 0;
    const bool oneSame = sameFiles(plainOut, oneOut, compared);
    const bool allSame = sameFiles(plainOut, allOut, compared);
    const bool showSame = sameFiles(plainOut, photos + "img_s", compared);
    std::printf("Small images byte-identical to the plain loop (%zu files): 1 worker %s, %d "
                "workers %s, Show run %s\n",
                compared, oneSame ? "yes" : "NO", cores, allSame ? "yes" : "NO",
                showSame ? "yes" : "NO");
    auto ratio = [&](size_t a, size_t b) {
        return rows[a].seconds > 0 && rows[b].seconds > 0 ? rows[b].seconds / rows[a].seconds : 0;
    };
    double quickestPeer = 0;
    for (size_t i : {8u, 9u}) {
        if (rows[i].seconds > 0 && (quickestPeer == 0 || rows[i].seconds < quickestPeer)) {
            quickestPeer = rows[i].seconds;
        }
    }
    std::printf("Ratios: 1 worker %.2fx baseline; %d workers %.2fx baseline; %d workers %.2fx the "
                "quickest scripted peer (vipsthumbnail or convert with jpeg:size); 1 worker %.2fx "
                "the Huffman floor's time\n",
                ratio(1, 0), cores, ratio(2, 0), cores,
                quickestPeer > 0 ? quickestPeer / rows[2].seconds : 0,
                rows[1].seconds / rows[6].seconds);
    if (!settings.keep && settings.folder.empty()) {
        fs::remove_all(root);
    } else {
        std::printf("Corpus kept in %s\n", root.c_str());
    }
    return 0;
}
