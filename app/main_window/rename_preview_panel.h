#pragma once

#include <functional>
#include <string>

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include "rename/rename_preview.h"
#include "settings/options.h"

class QLabel;
class QPlainTextEdit;

namespace vimbrel {

// The list on その他 of what 実行 would do: old name → new name for each
// file it would rename, then the files it would leave alone and why, with
// the counts beside the buttons. The list is made by the run itself as a dry
// run, on a worker thread, a short pause after the options or the folder
// last changed, and only while the tab is shown; until the new list is
// ready the last one stays and the counts say "…".
class RenamePreviewPanel : public QObject
{
    Q_OBJECT

public:
    // What the list is made for: the options as the controls hold them and
    // the chosen folder, read when the list is started.
    struct Subject
    {
        Options options;
        std::string folder;
    };
    using SubjectSource = std::function<Subject()>;

    RenamePreviewPanel(QPlainTextEdit* list, QLabel* counts, SubjectSource source,
                       QObject* parent = nullptr);

    // Something the list depends on changed.
    void schedule();
    // The tab that shows the list was shown or hidden.
    void setShown(bool shown);
    // True while a list is being made or waits to be.
    bool busy() const;
    // True while the worker makes a list.
    bool working() const { return mWatcher.isRunning(); }

signals:
    // A new list is in place.
    void listShown();

private:
    void start();
    void finished();
    void show(const RenamePreview& preview, const std::string& folder);

    QPlainTextEdit* mList;
    QLabel* mCounts;
    SubjectSource mSource;
    QTimer mPause;
    QFutureWatcher<RenamePreview> mWatcher;
    std::string mFolder; // of the list being made
    bool mShown = false; // the tab is shown
    bool mStale = true;  // the list shown is not for the current subject
    bool mAgain = false; // the subject changed while a list was made
};

// The counts' text while a list is being made.
inline constexpr const char* kPreviewWorking = "…";

} // namespace vimbrel
