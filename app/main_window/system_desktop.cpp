#include "app/main_window/system_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>

#include "platform/file_system.h"
#include "viewer/server/viewer_opener.h"

namespace vimbrel {
namespace {

// A message box that places itself at the centre of the screen once it knows
// its own size, instead of over its owner.
class CentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
};

// The messages break their lines with single CR characters.
QString boxText(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace(QChar('\r'), QChar('\n'));
    return result;
}

void showBox(QWidget* owner, QMessageBox::Icon icon, const std::string& text)
{
    CentredMessageBox box(icon, QString::fromUtf8(kBoxCaption), boxText(text), QMessageBox::Ok,
                          owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

SystemDesktop::SystemDesktop(std::string programFolder, ViewerServer::Limits limits)
    : mProgramFolder(std::move(programFolder)), mLimits(limits)
{
}

SystemDesktop::~SystemDesktop() = default;

void SystemDesktop::showMessage(QWidget* owner, const std::string& text)
{
    showBox(owner, QMessageBox::NoIcon, text);
}

void SystemDesktop::showError(QWidget* owner, const std::string& text)
{
    showBox(owner, QMessageBox::Critical, text);
}

std::optional<std::string> SystemDesktop::chooseFolder(QWidget* owner, const std::string& title,
                                                       const std::string& start)
{
    const QString chosen =
        QFileDialog::getExistingDirectory(owner, QString::fromStdString(title),
                                          QString::fromStdString(start), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

bool SystemDesktop::openViewer(const ViewerPages& pages, bool maximised)
{
    if (mOpener == nullptr) {
        if (mProgramFolder.empty()) {
            mProgramFolder = QCoreApplication::applicationDirPath().toStdString();
        }
        mOpener = std::make_unique<ViewerOpener>(fs::withSeparator(mProgramFolder),
                                                 ViewerOpener::Launcher{}, mLimits);
    }
    return mOpener->open(pages, maximised).opened;
}

WindowDesktop::ViewerState SystemDesktop::viewerState()
{
    return viewerStateOf(mOpener.get());
}

bool SystemDesktop::stopViewer()
{
    return mOpener == nullptr || mOpener->stop();
}

void SystemDesktop::openFolder(const std::string& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

} // namespace vimbrel
