#include "platform/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vimbrel {
namespace {

// The write end of the pipe; a signal handler may only do
// async-signal-safe things, and write(2) is one.
int gStopPipeWrite = -1;
struct sigaction gOldInt = {};
struct sigaction gOldTerm = {};

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = ::write(gStopPipeWrite, &byte, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals()
{
    if (gStopPipeWrite >= 0 || ::pipe2(mPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        mPipe[0] = mPipe[1] = -1;
        return;
    }
    gStopPipeWrite = mPipe[1];
    struct sigaction action = {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &gOldInt);
    ::sigaction(SIGTERM, &action, &gOldTerm);
}

StopSignals::~StopSignals()
{
    if (mPipe[0] < 0) {
        return;
    }
    ::sigaction(SIGINT, &gOldInt, nullptr);
    ::sigaction(SIGTERM, &gOldTerm, nullptr);
    gStopPipeWrite = -1;
    ::close(mPipe[0]);
    ::close(mPipe[1]);
}

} // namespace vimbrel
