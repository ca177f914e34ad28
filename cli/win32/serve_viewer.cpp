#include <ostream>

#include "cli/serve_viewer.h"

namespace vimbrel::cli {

int serveViewer(const ViewerPages&, const std::string&, bool, bool, Streams streams)
{
    streams.err << "vimbrel-cli: --serve and --open do not run on Windows yet; "
                   "the pages are written.\n";
    return 1;
}

} // namespace vimbrel::cli
