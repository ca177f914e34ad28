#include "viewer/server/viewer_opener.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>

#include <ostream>

namespace vimbrel {

ViewerOpener::ViewerOpener(std::string appFolder, std::ostream& log, Launcher launcher)
    : mAppFolder(std::move(appFolder)), mLog(log),
      mLauncher(launcher ? std::move(launcher) : Launcher(&ViewerOpener::desktopBrowser))
{
}

QUrl ViewerOpener::serve(const ViewerPages& pages)
{
    if (!mServer.start()) {
        mLog << "vimbrel: the viewer server cannot listen on 127.0.0.1\n";
        return {};
    }
    mServer.allowFolder(pages.workFolder);
    mServer.allowFolder(mAppFolder + "Img/");
    mServer.allowFolder(pages.pictureFolder);
    if (!pages.smallFolder.empty()) {
        mServer.allowFolder(pages.smallFolder);
    }
    return mServer.urlFor(pages.indexPath);
}

void ViewerOpener::open(const ViewerPages& pages, bool maximised)
{
    const QUrl url = serve(pages);
    if (url.isEmpty()) {
        return;
    }
    if (!mLauncher(url, maximised)) {
        mLog << "vimbrel: the browser could not be started for " << url.toString().toStdString()
             << "\n";
    }
}

bool ViewerOpener::desktopBrowser(const QUrl& url, bool)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        return QDesktopServices::openUrl(url);
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace vimbrel
