#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vimbrel::cli {

// The streams a command writes to, so that tests can capture them.
struct Streams
{
    std::ostream& out;
    std::ostream& err;
};

// Each returns the exit code: 0 done, 1 the tool showed a message or an
// error, 2 wrong arguments. `args` are the words after the command's name;
// `programFolder` is the folder of vimbrel-cli, ending in "/".
int runSettings(const std::vector<std::string>& args, const std::string& programFolder,
                Streams streams);
int runShow(const std::vector<std::string>& args, const std::string& programFolder,
            Streams streams);
int runRename(const std::vector<std::string>& args, const std::string& programFolder,
              Streams streams);

// The usage text printed for wrong arguments.
extern const char* const kUsage;

} // namespace vimbrel::cli
