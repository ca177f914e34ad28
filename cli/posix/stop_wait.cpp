#include "cli/stop_wait.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <memory>

namespace vimbrel::cli {
namespace {

// The write end of the pipe that turns a stop signal into an event; a signal
// handler may only do async-signal-safe things, and write(2) is one.
int gStopPipeWrite = -1;

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = ::write(gStopPipeWrite, &byte, 1);
    errno = saved;
}

// While it lives, SIGINT and SIGTERM end `loop` instead of the process. The
// handlers before it are put back when it goes.
class StopSignals
{
public:
    explicit StopSignals(QEventLoop& loop)
    {
        if (::pipe2(mPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        gStopPipeWrite = mPipe[1];
        struct sigaction action
        {
        };
        action.sa_handler = &onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &action, &mOldInt);
        ::sigaction(SIGTERM, &action, &mOldTerm);
        mNotifier = std::make_unique<QSocketNotifier>(mPipe[0], QSocketNotifier::Read);
        QObject::connect(mNotifier.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }

    ~StopSignals()
    {
        if (!mNotifier) {
            return;
        }
        ::sigaction(SIGINT, &mOldInt, nullptr);
        ::sigaction(SIGTERM, &mOldTerm, nullptr);
        mNotifier.reset();
        gStopPipeWrite = -1;
        ::close(mPipe[0]);
        ::close(mPipe[1]);
    }

    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool armed() const { return mNotifier != nullptr; }

private:
    std::array<int, 2> mPipe{-1, -1};
    struct sigaction mOldInt
    {
    };
    struct sigaction mOldTerm
    {
    };
    std::unique_ptr<QSocketNotifier> mNotifier;
};

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

struct StopWait::State
{
    QEventLoop loop;
    std::unique_ptr<StopSignals> stopSignals;
};

StopWait::StopWait() : mState((ensureApplication(), std::make_unique<State>()))
{
    mState->stopSignals = std::make_unique<StopSignals>(mState->loop);
}

StopWait::~StopWait() = default;

bool StopWait::armed() const
{
    return mState->stopSignals->armed();
}

void StopWait::wait()
{
    mState->loop.exec();
}

} // namespace vimbrel::cli
