#include "viewer/pictures/draw_budget.h"

#include "platform/processor.h"

namespace vimbrel {
namespace {

// Reading the thread's processor clock is a system call; it is read once in
// this many checks, or at once after a large piece of work.
constexpr unsigned kChecksPerClock = 64;
constexpr double kLargeWork = 1.0e7;

} // namespace

bool DrawBudget::spend(double units)
{
    if (mState != State::Within) {
        return false;
    }
    if (mCancel != nullptr && mCancel->load(std::memory_order_relaxed)) {
        mState = State::Cancelled;
        return false;
    }
    if (mStartedCpu < 0) {
        mStartedCpu = threadCpuSeconds();
    }
    mSpent += units;
    if (mSpent > mLimits.work) {
        mState = State::Spent;
        return false;
    }
    if (++mSinceClock >= kChecksPerClock || units >= kLargeWork) {
        mSinceClock = 0;
        if (threadCpuSeconds() - mStartedCpu > mLimits.cpuSeconds) {
            mState = State::Spent;
            return false;
        }
    }
    return true;
}

} // namespace vimbrel
