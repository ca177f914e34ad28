#include "viewer/server/viewer_opener.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>

namespace vimbrel {

ViewerOpener::ViewerOpener(std::string programFolder, Launcher launcher)
    : mProgramFolder(std::move(programFolder)),
      mLauncher(launcher ? std::move(launcher) : Launcher(&ViewerOpener::desktopBrowser))
{
}

QUrl ViewerOpener::serve(const ViewerPages& pages)
{
    if (!mServer.start()) {
        return {};
    }
    mServer.allowFolder(pages.workFolder);
    // The pages name the buttons as ../Img/ beside the Work folder, which
    // need not lie beside the program.
    const std::string work = pages.workFolder.back() == '/'
                                 ? pages.workFolder.substr(0, pages.workFolder.size() - 1)
                                 : pages.workFolder;
    mServer.allowFolder(mProgramFolder + "Img/", work.substr(0, work.rfind('/') + 1) + "Img/");
    mServer.allowFolder(pages.pictureFolder);
    if (!pages.smallFolder.empty()) {
        mServer.allowFolder(pages.smallFolder);
    }
    return mServer.urlFor(pages.indexPath);
}

ViewerOpener::Outcome ViewerOpener::open(const ViewerPages& pages, bool maximised)
{
    const QUrl url = serve(pages);
    if (url.isEmpty()) {
        return {false, "the viewer server cannot listen on 127.0.0.1"};
    }
    const std::string page =
        mRedirect.write(url.toString(QUrl::FullyEncoded).toStdString(), pages.workFolder);
    if (page.empty()) {
        return {false, "the page that leads the browser to the viewer cannot be written"};
    }
    if (!mLauncher(QUrl::fromLocalFile(QString::fromStdString(page)), maximised)) {
        return {false, "the browser could not be started for " + url.toString().toStdString()};
    }
    return {true, {}};
}

bool ViewerOpener::desktopBrowser(const QUrl& url, bool)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        return QDesktopServices::openUrl(url);
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace vimbrel
