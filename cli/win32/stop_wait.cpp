#include "cli/stop_wait.h"
#include "platform/console_stop.h"

namespace vimbrel::cli {

struct StopWait::State
{
    ConsoleStop stop;
};

StopWait::StopWait() : mState(std::make_unique<State>()) {}

StopWait::~StopWait() = default;

bool StopWait::armed() const
{
    return mState->stop.armed();
}

void StopWait::wait()
{
    mState->stop.wait();
}

bool StopWait::waitFor(std::chrono::milliseconds patience)
{
    return mState->stop.waitFor((unsigned long)(patience.count()));
}

} // namespace vimbrel::cli
