#pragma once

#include <string>
#include <vector>

namespace vimbrel::bench {

struct CorpusPlan
{
    int large = 40;   // 4000 x 3000 photos
    int hd = 20;      // 1920 x 1080 photos
    int small = 1000; // 400 x 300 pictures for the repeated run
};

struct Corpus
{
    std::string photoFolder;         // the large and HD photos
    std::vector<std::string> photos; // their names
    double megapixels = 0;           // of all photos together
    double megabytes = 0;            // their file sizes together
    std::string smallFolder;         // the small pictures
    std::vector<std::string> smalls;
};

// Writes photo-like JPEGs (smooth shapes, texture and sensor noise; quality
// 92, 4:2:0, as a camera writes them) into `root`, using `threads` threads.
Corpus makeCorpus(const std::string& root, const CorpusPlan& plan, int threads);

} // namespace vimbrel::bench
