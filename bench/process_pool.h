#pragma once

#include <string>
#include <vector>

#include <sys/resource.h>

namespace vimbrel::bench {

// What a finished child process reported.
struct ChildResult
{
    int exitCode = -1;
    std::string output; // its standard output
    long peakKilobytes = 0;
};

// Runs `argv` and waits for it, capturing standard output; standard error
// goes to /dev/null.
ChildResult runChild(const std::vector<std::string>& argv);

// Runs every command of `commands`, at most `parallel` at a time; returns the
// wall-clock seconds from the first start to the last end, or a negative
// value when a command could not be run or failed.
double runAll(const std::vector<std::vector<std::string>>& commands, int parallel);

// True when `program` is found on PATH.
bool onPath(const std::string& program);

} // namespace vimbrel::bench
