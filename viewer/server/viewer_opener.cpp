#include "viewer/server/viewer_opener.h"

#include "platform/file_system.h"
#include "viewer/server/desktop_browser.h"

namespace vimbrel {

ViewerOpener::ViewerOpener(std::string programFolder, Launcher launcher,
                           const ViewerServer::Limits& limits)
    : mProgramFolder(std::move(programFolder)),
      mLauncher(launcher ? std::move(launcher) : Launcher(&openInDesktopBrowser)), mServer(limits)
{
}

bool ViewerOpener::viewerOpen() const
{
    return mServer.isListening() && mServer.presence().viewerOpen();
}

bool ViewerOpener::browserCame() const
{
    return mHandedPage.empty() || mServer.presence().indexRequests() > mAskedBeforeHandOver;
}

std::string ViewerOpener::serve(const ViewerPages& pages)
{
    if (!mServer.start()) {
        return {};
    }
    mServer.allowPagesFolder(pages.workFolder);
    // The pages name the buttons as ../Img/ beside the Work folder, which
    // need not lie beside the program.
    const std::string work = pages.workFolder.back() == fs::kSeparator
                                 ? pages.workFolder.substr(0, pages.workFolder.size() - 1)
                                 : pages.workFolder;
    const std::string img = std::string("Img") + fs::kSeparator;
    mServer.allowFolder(mProgramFolder + img, work.substr(0, work.rfind(fs::kSeparator) + 1) + img);
    mServer.allowFolder(pages.pictureFolder);
    if (!pages.smallFolder.empty()) {
        mServer.allowFolder(pages.smallFolder);
    }
    return mServer.urlFor(pages.indexPath);
}

ViewerOpener::Outcome ViewerOpener::open(const ViewerPages& pages, bool maximised)
{
    const std::string url = serve(pages);
    if (url.empty()) {
        return {false, "the viewer server cannot listen on 127.0.0.1"};
    }
    const std::string page = mRedirect.write(url, pages.workFolder);
    if (page.empty()) {
        return {false, "the page that leads the browser to the viewer cannot be written"};
    }
    mAskedBeforeHandOver = mServer.presence().indexRequests();
    mHandedPage = page;
    if (!mLauncher(page, maximised)) {
        return {false, "the browser could not be started for " + url};
    }
    return {true, {}};
}

} // namespace vimbrel
