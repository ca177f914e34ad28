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

} // namespace vimbrel::cli
