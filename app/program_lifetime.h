#pragma once

#include <chrono>

#include <QObject>
#include <QTimer>

namespace vimbrel {

class TForm1;

// How the program runs and ends. While its window is shown, the window's
// events are handled. When the window closes (its settings saved), the
// program ends at once unless a viewer window it served is still open in
// the browser: then it goes on serving it, looking each second, until the
// last viewer window has gone. A later start shows the window again, with
// its folder chosen; a stop signal (SIGTERM, SIGINT) ends it at once. The
// last thing, in every case, is the window's FormDestroy: the settings
// saved and the Work folder emptied when asked, so that a viewer left open
// keeps its pages until it is closed.
class ProgramLifetime : public QObject
{
    Q_OBJECT

public:
    explicit ProgramLifetime(TForm1& window,
                             std::chrono::milliseconds look = std::chrono::seconds(1));

    // Shows the window and runs until the program is to end; returns the
    // exit code.
    int run();

    // A later start asked to be shown, with `folder` ("" for none).
    void showAgain(const QByteArray& folder);

    // A stop signal: the windows close and the program ends.
    void stop();

    // True while the window is closed and the program serves on.
    bool servingOn() const { return mLook.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowClosed();

    TForm1& mWindow;
    QTimer mLook;
};

} // namespace vimbrel
