#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/user_interface.h"
#include "viewer/server/redirect_page.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel {

// Opens the viewer that a Show run has written: lets the viewer server hand
// out that run's folders, starts the server on first use, and gives the
// browser the URL of index.htm. One opener serves a whole session (the
// window's lifetime, or one vimbrel-cli run), so a viewer still open from an
// earlier run keeps working after the next.
class ViewerOpener
{
public:
    // Starts the browser on the page file `pagePath`; true when it could be
    // started.
    using Launcher = std::function<bool(const std::string& pagePath, bool maximised)>;

    // What open() achieved.
    struct Outcome
    {
        bool opened = false;
        std::string failure; // why not, when not: a sentence for a log
    };

    // `programFolder` ends in the separator; its Img/ holds the button
    // images. Without a launcher the desktop's default browser is used
    // (openInDesktopBrowser()).
    explicit ViewerOpener(std::string programFolder, Launcher launcher = {},
                          const ViewerServer::Limits& limits = {});

    // Allows the run's folders (WorkFolder, the program's Img/ as the Img/
    // beside WorkFolder, the picture folder and the small-image folder) and
    // returns the URL of index.htm;
    // empty when the server cannot listen.
    std::string serve(const ViewerPages& pages);

    // serve(), then the browser: it is handed a private page on disk that
    // leads on to the URL, so that the token never stands on a command line.
    // Does not wait for the browser; tells whether the server listens and the
    // browser could be started, and why not.
    Outcome open(const ViewerPages& pages, bool maximised);

    // True while a viewer window the server served is still open in the
    // browser, as its pages report it (ViewerPresence): the program keeps
    // serving after its own window has closed until this turns false.
    bool viewerOpen() const;

    // False when the browser was handed the viewer by open() and has not
    // asked for it since: no default browser, or one that refuses to start.
    bool browserCame() const;
    // How long the browser has to ask before that counts as not coming.
    static constexpr std::chrono::seconds kBrowserPatience{20};

    // The page on disk open() handed the browser last ("" before), which the
    // person may open by hand; it leads on to the viewer without naming the
    // token anywhere else.
    const std::string& handedPage() const { return mHandedPage; }

    // Stops serving for good (ViewerServer::stop): false when a drawing was
    // left behind, so the process had best end without its exit handlers.
    bool stop() { return mServer.stop(); }

    const ViewerServer& server() const { return mServer; }

private:
    std::string mProgramFolder;
    Launcher mLauncher;
    ViewerServer mServer;
    RedirectPage mRedirect;
    std::string mHandedPage;
    unsigned long mAskedBeforeHandOver = 0;
};

} // namespace vimbrel
