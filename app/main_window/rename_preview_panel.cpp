#include "app/main_window/rename_preview_panel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace vimbrel {
namespace {

// The changes of a person typing a prefix come in a burst.
constexpr int kPauseMs = 150;

// A name as it shows in the list: its folder below the chosen one, then the
// name.
QString shownName(const std::string& folder, const std::string& chosen, const std::string& name)
{
    const std::string below = folder.size() > chosen.size() ? folder.substr(chosen.size()) : "";
    return QString::fromStdString(below + name);
}

} // namespace

RenamePreviewPanel::RenamePreviewPanel(QPlainTextEdit* list, QLabel* counts, SubjectSource source,
                                       QObject* parent)
    : QObject(parent), mList(list), mCounts(counts), mSource(std::move(source))
{
    mPause.setSingleShot(true);
    mPause.setInterval(kPauseMs);
    connect(&mPause, &QTimer::timeout, this, &RenamePreviewPanel::start);
    connect(&mWatcher, &QFutureWatcherBase::finished, this, &RenamePreviewPanel::finished);
}

void RenamePreviewPanel::schedule()
{
    mStale = true;
    if (mShown) {
        mCounts->setText(QString::fromUtf8(kPreviewWorking));
        mPause.start();
    }
}

void RenamePreviewPanel::setShown(bool shown)
{
    mShown = shown;
    if (shown && mStale && !mPause.isActive() && !mWatcher.isRunning()) {
        schedule();
    }
}

bool RenamePreviewPanel::busy() const
{
    return mPause.isActive() || mWatcher.isRunning();
}

void RenamePreviewPanel::start()
{
    if (mWatcher.isRunning()) {
        mAgain = true; // started again once this one is done
        return;
    }
    mAgain = false;
    mStale = false;
    Subject subject = mSource();
    mFolder = subject.folder;
    mWatcher.setFuture(QtConcurrent::run(
        [subject = std::move(subject)] { return previewRename(subject.options, subject.folder); }));
}

void RenamePreviewPanel::finished()
{
    if (mAgain || mStale) {
        // Made for options that have changed since: the next one is due.
        start();
        return;
    }
    show(mWatcher.result(), mFolder);
    emit listShown();
}

void RenamePreviewPanel::show(const RenamePreview& preview, const std::string& folder)
{
    QStringList lines;
    lines.reserve(int(preview.renames.size() + preview.skipped.size()));
    for (const RenamePreview::Rename& rename : preview.renames) {
        lines << shownName(rename.folder, folder, rename.oldName) + QStringLiteral(" → ") +
                     shownName(rename.folder, folder, rename.newName);
    }
    for (const RenamePreview::Skip& skip : preview.skipped) {
        lines << QStringLiteral("× ") + shownName(skip.folder, folder, skip.name) +
                     QStringLiteral("（") + QString::fromUtf8(skipReasonText(skip.reason)) +
                     QStringLiteral("）");
    }
    mList->setPlainText(lines.join('\n'));
    mCounts->setText(QStringLiteral("変更 %1 件、そのまま %2 件")
                         .arg(preview.renames.size())
                         .arg(preview.skipped.size()));
}

} // namespace vimbrel
