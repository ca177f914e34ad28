#include <ostream>

#include "cli/commands.h"

namespace vimbrel::cli {

// Placeholder until the settings command lands; replaced by its real implementation.
int runSettings(const std::vector<std::string>&, const std::string&, Streams streams)
{
    streams.err << "vimbrel-cli: the settings command is not built yet\n";
    return 2;
}

} // namespace vimbrel::cli
