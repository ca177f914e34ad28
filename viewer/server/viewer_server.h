#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/held_folder.h"

namespace vimbrel {

class ViewerHttpDaemon;

// The small web server that lets the browser run the viewer: the pages call
// each other's scripts across frames, which browsers allow for pages served
// from one origin and refuse for pages opened from disk.
//
// It runs on a thread of its own (libmicrohttpd; epoll on Linux), so that no window
// or event loop ever waits on a socket or a file for it. It listens on
// 127.0.0.1 only at a port the system picks, and answers only URLs of the
// form http://127.0.0.1:PORT/TOKEN/<full file path as fs::urlPathOf writes
// it>, where TOKEN is 128
// random bits drawn anew at each start. It answers GET and HEAD for plain
// files inside the folders allowed through allowFolder() and nothing else; a
// request with a wrong token, a Host header other than 127.0.0.1:PORT,
// another method, or a path outside those folders is refused before any
// file is opened, and a request body is never read. Files go out from their
// open descriptor (sendfile on Linux), never read into memory.
class ViewerServer
{
public:
    // Bounds on what clients may take; the defaults suit a person's browser.
    struct Limits
    {
        // A connection that sends nothing for this long is closed.
        unsigned idleSeconds = 30;
        // Connections served at once; one more is answered 503.
        unsigned connections = 256;
        // How files are kept inside their folders (a test may ask for the
        // walk that older kernels get).
        BeneathMode beneath = BeneathMode::Kernel;
    };

    ViewerServer();
    explicit ViewerServer(const Limits& limits);
    ~ViewerServer();
    ViewerServer(const ViewerServer&) = delete;
    ViewerServer& operator=(const ViewerServer&) = delete;

    // Starts listening, with a fresh token. True when it listens (also when it
    // already did); false when no port could be had.
    bool start();
    bool isListening() const;
    uint16_t port() const;

    // Lets the server hand out the plain files of `folder` (absolute; the
    // folder is opened now). Folders stay allowed while the server lives.
    // May be called while the server answers requests. With `servedAs`, the
    // folder's files are served under that absolute path instead.
    void allowFolder(const std::string& folder, const std::string& servedAs = {});

    // The URL under which the full `filePath` is served (fs::urlPathOf after
    // the token, percent-encoded); empty before start().
    std::string urlFor(const std::string& filePath) const;

private:
    std::unique_ptr<ViewerHttpDaemon> mDaemon;
};

} // namespace vimbrel
