#pragma once

#include <QUrl>

#include <memory>
#include <string>

#include "viewer/server/served_folders.h"

namespace vimbrel {

class ViewerHttpListener;

// The small web server that lets the browser run the viewer: the pages call
// each other's scripts across frames, which browsers allow for pages served
// from one origin and refuse for pages opened from disk.
//
// It runs on the event loop of the thread that owns it (no thread of its
// own), listens on 127.0.0.1 only at a port the system picks, and answers
// only URLs of the form http://127.0.0.1:PORT/TOKEN/<absolute file path>,
// where TOKEN is 128 random bits drawn anew at each start. It answers GET and
// HEAD for plain files inside the folders allowed through allowFolder() and
// nothing else; a request with a wrong token, a Host header other than
// 127.0.0.1:PORT, another method, or a path outside those folders is refused
// before any file is opened. Files are streamed from disk, not read whole.
class ViewerServer
{
public:
    ViewerServer();
    ~ViewerServer();
    ViewerServer(const ViewerServer&) = delete;
    ViewerServer& operator=(const ViewerServer&) = delete;

    // Starts listening, with a fresh token. True when it listens (also when it
    // already did); false when no port could be had.
    bool start();

    bool isListening() const;
    quint16 port() const;

    // Lets the server hand out the plain files of `folder` (absolute; links
    // in its path are resolved now). Folders stay allowed while the server
    // lives.
    void allowFolder(const std::string& folder);

    // The URL under which the absolute `filePath` is served; empty before
    // start().
    QUrl urlFor(const std::string& filePath) const;

private:
    std::unique_ptr<ViewerHttpListener> mListener;
};

} // namespace vimbrel
