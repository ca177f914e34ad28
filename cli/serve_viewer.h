#pragma once

#include <string>

#include "cli/commands.h"
#include "platform/user_interface.h"

namespace vimbrel::cli {

// `show --serve` and `show --open` after a successful Show run: serves the
// viewer of `pages` on loopback, prints its URL as a line of its own on
// `streams.out`, opens it in the desktop's browser when `openBrowser` (a
// maximised window asked for with `maximised`, see ViewerOpener), and
// runs until SIGINT or SIGTERM arrives. Returns the exit code: 0 after such a
// signal, 1 when the server cannot listen.
int serveViewer(const ViewerPages& pages, const std::string& programFolder, bool openBrowser,
                bool maximised, Streams streams);

} // namespace vimbrel::cli
