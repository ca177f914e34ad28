#include "viewer/server/desktop_browser.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace vimbrel {

bool openInDesktopBrowser(const std::string& pagePath, bool)
{
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(pagePath));
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        return QDesktopServices::openUrl(url);
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace vimbrel
