#include "cli/stop_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

#include "platform/stop_signals.h"

namespace vimbrel::cli {
namespace {

// The server needs an event loop, and so an application object; vimbrel-cli
// has none of its own until here.
void ensureApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "vimbrel-cli";
        static char* argv[] = {name, nullptr};
        static QCoreApplication* application = new QCoreApplication(argc, argv);
        (void)application;
    }
}

} // namespace

// While it lives, SIGINT and SIGTERM end the loop instead of the process.
struct StopWait::State
{
    QEventLoop loop;
    StopSignals stopSignals;
    std::unique_ptr<QSocketNotifier> notifier;
};

StopWait::StopWait() : mState((ensureApplication(), std::make_unique<State>()))
{
    if (mState->stopSignals.armed()) {
        mState->notifier = std::make_unique<QSocketNotifier>(mState->stopSignals.readable(),
                                                             QSocketNotifier::Read);
        QObject::connect(mState->notifier.get(), &QSocketNotifier::activated, &mState->loop,
                         &QEventLoop::quit);
    }
}

StopWait::~StopWait() = default;

bool StopWait::armed() const
{
    return mState->notifier != nullptr;
}

void StopWait::wait()
{
    mState->loop.exec();
}

bool StopWait::waitFor(std::chrono::milliseconds patience)
{
    bool timedOut = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &mState->loop, [&] {
        timedOut = true;
        mState->loop.quit();
    });
    timer.start(patience);
    mState->loop.exec();
    return !timedOut;
}

} // namespace vimbrel::cli
