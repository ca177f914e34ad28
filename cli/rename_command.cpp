#include <ostream>

#include "cli/commands.h"

namespace vimbrel::cli {

// Placeholder until the rename command lands; replaced by its real implementation.
int runRename(const std::vector<std::string>&, const std::string&, Streams streams)
{
    streams.err << "vimbrel-cli: the rename command is not built yet\n";
    return 2;
}

} // namespace vimbrel::cli
