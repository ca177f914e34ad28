#include "app/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/file_system.h"

namespace vimbrel {

HelpWindow::HelpWindow(std::string helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window), mHelpFile(std::move(helpFile)), mBrowser(new QTextBrowser(this))
{
    setObjectName("HelpWindow");
    setWindowTitle(QStringLiteral("Vimbrel ヘルプ"));
    resize(640, 560);
    mBrowser->setObjectName("HelpBrowser");
    mBrowser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mBrowser);
}

void HelpWindow::showContents()
{
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(mHelpFile));
    if (fs::isFile(mHelpFile)) {
        // The same source is not read again by setSource, so it is reloaded.
        if (mBrowser->source() == url) {
            mBrowser->reload();
        } else {
            mBrowser->setSource(url);
        }
    } else {
        mBrowser->setPlainText(QString::fromUtf8(kHelpMissingMessage) +
                               "\nPATH=" + QString::fromStdString(mHelpFile));
    }
    show();
    raise();
    activateWindow();
}

} // namespace vimbrel
