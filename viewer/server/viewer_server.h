#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/held_folder.h"
#include "viewer/server/rendition_workers.h"
#include "viewer/server/viewer_presence.h"

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
// file is opened, and a request body is never read. Files are read from their
// open descriptor a block at a time as they go out, never whole into memory;
// pictures that need a rendition are drawn on threads of their own.
class ViewerServer
{
public:
    // Bounds on what clients may take; the defaults suit a person's browser.
    struct Limits
    {
        // A connection that has sent nothing for this long since it opened
        // is closed.
        unsigned silentSeconds = 5;
        // A request head must have arrived whole this long after the
        // connection opened, however slowly it trickles in.
        unsigned headSeconds = 10;
        // Between requests, and while an answer goes out, a connection on
        // which nothing moves for this long is closed; a keep-alive
        // connection must bring its next request head whole within it.
        unsigned idleSeconds = 30;
        // Connections served at once. A new one beyond them makes room by
        // closing the idlest; when every one is in the middle of a request,
        // the newcomer's request is answered 503.
        unsigned connections = 256;
        // Threads that answer requests, each serving its own share of the
        // connections; 0: one per core, at most 4.
        unsigned threads = 0;
        // How files are kept inside their folders (a test may ask for the
        // walk that older kernels get).
        BeneathMode beneath = BeneathMode::Kernel;
        // The threads that draw renditions, how many requests may wait for
        // them, and what one drawing may take.
        RenditionWorkers::Limits renditions;
        // A viewer window that has said nothing for this long counts as
        // gone; the pages say they are open every third of it.
        unsigned viewerPatienceSeconds = 180;
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

    // Stops for good: drawings are told to stop, requests waiting for them
    // get 503, connections close and the threads end. Waits at most about
    // `patience` for a drawing under way; false when one did not end in time
    // (its thread is left to end on its own, so the process had best end
    // without running its exit handlers). The destructor stops as well.
    bool stop(std::chrono::milliseconds patience = std::chrono::milliseconds(1200));
    uint16_t port() const;

    // Lets the server hand out the plain files of `folder` (absolute; the
    // folder is opened now). Folders stay allowed while the server lives.
    // May be called while the server answers requests. With `servedAs`, the
    // folder's files are served under that absolute path instead.
    void allowFolder(const std::string& folder, const std::string& servedAs = {});

    // allowFolder() for a Work folder: its seven viewer pages are served
    // with the helper script (tooltips, keys, the thumbnail head, signs of
    // life), the files themselves staying as they are.
    void allowPagesFolder(const std::string& folder);

    // The viewer windows open in the browser, as their pages report them.
    const ViewerPresence& presence() const;

    // The URL under which the full `filePath` is served (fs::urlPathOf after
    // the token, percent-encoded); empty before start().
    std::string urlFor(const std::string& filePath) const;

private:
    std::unique_ptr<ViewerHttpDaemon> mDaemon;
};

} // namespace vimbrel
