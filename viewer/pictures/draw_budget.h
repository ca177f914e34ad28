#pragma once

#include <atomic>

namespace vimbrel {

// What drawing one picture may take, so that a small file that asks for
// endless work (a polygon of a million points zig-zagging across the
// picture, millions of records) cannot hold a thread: the drawing counts its
// work as it goes and stops once the work, the processor time of its thread
// or a request to stop from outside says so. A budget belongs to one drawing
// on one thread.
class DrawBudget
{
public:
    struct Limits
    {
        // Units of work, each about the cost of filling one pixel: the pixels
        // each operation touches, the edges the raster engine crosses.
        double work = 4.0e9;
        // Processor seconds of the drawing thread, counted from the first
        // unit spent.
        double cpuSeconds = 4.0;
    };

    enum class State
    {
        Within,    // the drawing may go on
        Spent,     // the work or the time ran out: the picture takes too long to draw
        Cancelled, // stopped from outside
    };

    // `cancel`, when given, stops the drawing once it turns true; it must
    // outlive the budget.
    explicit DrawBudget(const std::atomic<bool>* cancel = nullptr) : DrawBudget(Limits{}, cancel) {}
    explicit DrawBudget(const Limits& limits, const std::atomic<bool>* cancel = nullptr)
        : mLimits(limits), mCancel(cancel)
    {
    }

    // Counts `units` of work; false once the drawing must stop, also when
    // these units would go beyond the work allowed.
    bool spend(double units);

    // False once the drawing must stop, without spending anything.
    bool goOn() { return spend(0); }

    State state() const { return mState; }
    bool stopped() const { return mState != State::Within; }
    double spent() const { return mSpent; }

private:
    Limits mLimits;
    const std::atomic<bool>* mCancel;
    double mSpent = 0;
    double mStartedCpu = -1;
    unsigned mSinceClock = 0;
    State mState = State::Within;
};

} // namespace vimbrel
