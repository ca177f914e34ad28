#include "cli/serve_viewer.h"

#include <cstdlib>
#include <ostream>

#include "cli/stop_wait.h"
#include "viewer/server/viewer_opener.h"

namespace vimbrel::cli {

int serveViewer(const ViewerPages& pages, const std::string& programFolder, bool openBrowser,
                bool maximised, Streams streams)
{
    StopWait stop;
    if (!stop.armed()) {
        streams.err << "vimbrel-cli: cannot watch for stop signals\n";
        return 1;
    }
    ViewerOpener opener(programFolder);
    const std::string url = opener.serve(pages);
    if (url.empty()) {
        streams.err << "vimbrel-cli: the viewer server cannot listen on 127.0.0.1\n";
        return 1;
    }
    streams.out << url << std::endl;
    if (openBrowser) {
        const ViewerOpener::Outcome outcome = opener.open(pages, maximised);
        if (!outcome.opened) {
            streams.err << "vimbrel-cli: " << outcome.failure << "\n";
        }
    }
    stop.wait();
    if (!opener.stop()) {
        // A drawing did not end in time; its thread must not meet the
        // program's exit handlers.
        streams.out.flush();
        streams.err.flush();
        std::_Exit(0);
    }
    return 0;
}

} // namespace vimbrel::cli
