// The speed of the Show command's small images, side by side with the tools
// a user would otherwise script, on a corpus the benchmark makes itself.
//
//   show_bench [--large N] [--hd N] [--small N] [--names N] [--repeat N]
//              [--quick] [--folder DIR] [--keep]
#include <sched.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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
#include "bench/reference_loop.h"

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

// One line of the table: a run done once per round, timed as whole processes
// from the outside.
struct Row
{
    std::string label;
    int cores = 1;      // the cores the run may use
    bool photos = true; // a run over the photo corpus, with rates
    std::function<void()> before;
    // Runs once; the wall seconds and the peak resident kilobytes, or a
    // negative time when the run failed or its program is missing.
    std::function<std::pair<double, long>()> once;
    std::vector<double> seconds;
    long peakKilobytes = 0;
    std::string note;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? -1 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One of our runs: this program in a child process, timed from start to end.
Row ours(const std::string& label, int cores, std::vector<std::string> argv,
         std::function<void()> before = {})
{
    Row row;
    row.label = label;
    row.cores = cores;
    row.before = std::move(before);
    argv.insert(argv.begin(), self());
    row.once = [argv] {
        const auto start = std::chrono::steady_clock::now();
        const ChildResult result = runChild(argv);
        const double seconds = secondsSince(start);
        return std::pair(result.exitCode == 0 ? seconds : -1.0, result.peakKilobytes);
    };
    return row;
}

// A peer: its commands as processes, `parallel` at a time, timed from the
// first start to the last end.
Row peer(const std::string& label, int cores, std::vector<std::vector<std::string>> commands,
         const std::string& program)
{
    Row row;
    row.label = label;
    row.cores = cores;
    if (!onPath(program)) {
        row.note = program + " not installed";
        return row;
    }
    row.once = [commands, cores] { return std::pair(runAll(commands, cores), 0L); };
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
    rows.push_back(ours("plain loop: whole decode, 1 thread (baseline)", 1,
                        {"small", photos, plainOut, "1", "plain"}));
    const std::string oneOut = fresh("fast1");
    rows.push_back(
        ours("small images, kept rows, 1 worker", 1, {"small", photos, oneOut, "1", "fast"}));
    const std::string allOut = fresh("fastN");
    rows.push_back(ours("small images, kept rows, " + cpus + " workers", cores,
                        {"small", photos, allOut, cpus, "fast"}));
    const std::string app = root + "app/";
    fs::create_directories(app);
    auto clearSmall = [&] { fs::remove_all(photos + "img_s"); };
    const size_t showOne = rows.size();
    rows.push_back(ours("first Show run (list, sort, small images, pages), 1 core", 1,
                        {"show", photos, app, "1"}, clearSmall));
    const size_t showAll = rows.size();
    rows.push_back(ours("first Show run (list, sort, small images, pages), " + cpus + " cores",
                        cores, {"show", photos, app, "0"}, clearSmall));
    rows.push_back(
        ours("decode floor: libjpeg-turbo full decode, 1 thread", 1, {"decode", photos, "1"}));
    const size_t floor = rows.size();
    rows.push_back(
        ours("Huffman floor: libjpeg-turbo decode at 1/8, 1 thread", 1, {"decode", photos, "8"}));

    auto perFile = [&](const std::string& folder, auto make) {
        std::vector<std::vector<std::string>> commands;
        for (const std::string& name : corpus.photos) {
            commands.push_back(make(photos + name, folder + name + ".jpg"));
        }
        return commands;
    };
    const std::string peerOut = fresh("peer");
    rows.push_back(
        peer("ImageMagick convert -sample 100x, " + cpus + " processes", cores,
             perFile(peerOut,
                     [](const std::string& in, const std::string& out) {
                         return std::vector<std::string>{"convert", in, "-sample", "100x", out};
                     }),
             "convert"));
    rows.push_back(peer(
        "ImageMagick convert -define jpeg:size=200x200 -sample 100x, " + cpus + " processes", cores,
        perFile(peerOut,
                [](const std::string& in, const std::string& out) {
                    return std::vector<std::string>{
                        "convert", "-define", "jpeg:size=200x200", in, "-sample", "100x", out};
                }),
        "convert"));
    std::vector<std::vector<std::string>> vips(static_cast<size_t>(cores));
    for (size_t i = 0; i < vips.size(); ++i) {
        vips[i] = {"vipsthumbnail", "--size", "100x", "-o", peerOut + "%s.jpg"};
    }
    for (size_t i = 0; i < corpus.photos.size(); ++i) {
        vips[i % vips.size()].push_back(photos + corpus.photos[i]);
    }
    rows.push_back(
        peer("vipsthumbnail --size 100x, " + cpus + " processes", cores, vips, "vipsthumbnail"));
    rows.push_back(peer("GraphicsMagick gm convert -sample 100x, " + cpus + " processes", cores,
                        perFile(peerOut,
                                [](const std::string& in, const std::string& out) {
                                    return std::vector<std::string>{"gm",      "convert", in,
                                                                    "-sample", "100x",    out};
                                }),
                        "gm"));

    // The repeated run: small images exist for every picture.
    const std::string smalls = corpus.smallFolder;
    runChild({self(), "show", smalls, app, "0"});
    Row repeated = ours("repeated Show run with 差分作成, " + std::to_string(corpus.smalls.size()) +
                            " pictures",
                        cores, {"show", smalls, app, "0"});
    repeated.photos = false;
    rows.push_back(repeated);
    Row pages = ours("sort and seven pages for " + std::to_string(settings.names) + " names", 1,
                     {"pages", app, std::to_string(settings.names)});
    pages.photos = false;
    rows.push_back(pages);

    // Rounds of every row in turn (A B C ... A B C ...), so that a busy
    // moment of the machine falls on all rows alike.
    for (int round = 0; round < repeat; ++round) {
        for (Row& row : rows) {
            if (!row.once || (!row.seconds.empty() && row.seconds.back() < 0)) {
                continue;
            }
            if (row.before) {
                row.before();
            }
            const auto [seconds, peak] = row.once();
            row.seconds.push_back(seconds);
            row.peakKilobytes = std::max(row.peakKilobytes, peak);
            if (seconds < 0) {
                row.note = "failed";
            }
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, repeat);
    }
    const ChildResult idle = runChild({self(), "idle"});

    const auto middle = [](const Row& row) {
        return row.note.empty() ? median(row.seconds) : -1.0;
    };
    const double baseline = middle(rows[0]);
    std::printf("Each row timed as whole processes, %d rounds interleaved; median (min-max).\n"
                "'vs baseline' compares with the 1-thread plain loop whatever the cores; "
                "'Show run is' says how many times faster our first Show run is than the row "
                "on the same number of cores.\n\n",
                repeat);
    std::printf("| run | cores | seconds | images/s | MP/s | vs baseline | Show run is | peak RSS "
                "MB | note |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---|\n");
    for (const Row& row : rows) {
        const double seconds = middle(row);
        if (seconds < 0) {
            std::printf("| %s | %d | - | - | - | - | - | - | %s |\n", row.label.c_str(), row.cores,
                        row.note.c_str());
            continue;
        }
        const auto [low, high] = std::minmax_element(row.seconds.begin(), row.seconds.end());
        char spread[64];
        std::snprintf(spread, sizeof spread, row.photos ? "%.2f (%.2f-%.2f)" : "%.3f (%.3f-%.3f)",
                      seconds, *low, *high);
        const std::string rss =
            row.peakKilobytes > 0 ? std::to_string(row.peakKilobytes / 1024) : "-";
        if (!row.photos) {
            std::printf("| %s | %d | %s | - | - | - | - | %s | %s |\n", row.label.c_str(),
                        row.cores, spread, rss.c_str(), row.note.c_str());
            continue;
        }
        const double show = middle(rows[row.cores == 1 ? showOne : showAll]);
        std::printf("| %s | %d | %s | %.1f | %.0f | %.2fx | %.2fx | %s | %s |\n", row.label.c_str(),
                    row.cores, spread, images / seconds, corpus.megapixels / seconds,
                    baseline / seconds, show > 0 ? seconds / show : 0, rss.c_str(),
                    row.note.c_str());
    }
    std::printf("\nProgram alone (idle child): %.1f MB peak RSS\n", idle.peakKilobytes / 1024.0);

    // The identity check against a loop that shares no code with the tool.
    const std::string referenceOut = fresh("reference");
    runChild({self(), "reference", photos, referenceOut});
    size_t compared = 0;
    const bool plainSame = sameFiles(referenceOut, plainOut, compared);
    const bool oneSame = sameFiles(referenceOut, oneOut, compared);
    const bool allSame = sameFiles(referenceOut, allOut, compared);
    const bool showSame = sameFiles(referenceOut, photos + "img_s", compared);
    std::printf("Small images byte-identical to a loop of libjpeg calls alone (%zu files): plain "
                "loop %s, 1 worker %s, %d workers %s, Show run %s\n",
                compared, plainSame ? "yes" : "NO", oneSame ? "yes" : "NO", cores,
                allSame ? "yes" : "NO", showSame ? "yes" : "NO");
    std::printf("1 worker against the Huffman floor: %.2fx its time\n",
                middle(rows[1]) / middle(rows[floor]));
    if (!settings.keep && settings.folder.empty()) {
        fs::remove_all(root);
    } else {
        std::printf("Corpus kept in %s\n", root.c_str());
    }
    return 0;
}
