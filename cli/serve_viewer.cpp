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
    bool stopped = false;
    if (openBrowser) {
        const ViewerOpener::Outcome outcome = opener.open(pages, maximised);
        if (!outcome.opened) {
            streams.err << "vimbrel-cli: " << outcome.failure << "\n";
        } else if (!(stopped = stop.waitFor(ViewerOpener::kBrowserPatience)) &&
                   !opener.browserCame()) {
            // Started, but it never asked for the viewer: no default
            // browser, or one that refuses to run (as root, say).
            streams.err << "vimbrel-cli: the browser has not asked for the viewer in "
                        << ViewerOpener::kBrowserPatience.count() << " s; open "
                        << opener.handedPage() << " in a browser\n";
        }
    }
    if (!stopped) {
        stop.wait();
    }
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
