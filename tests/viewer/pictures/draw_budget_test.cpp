#include "viewer/pictures/draw_budget.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(DrawBudget, StopsAtItsWorkItsProcessorTimeOrWhenStopped)
{
    DrawBudget::Limits limits;
    limits.work = 100;
    DrawBudget work(limits);
    EXPECT_TRUE(work.spend(60));
    EXPECT_FALSE(work.spend(60)); // would go beyond: refused, and for good
    EXPECT_FALSE(work.spend(0));
    EXPECT_EQ(work.state(), DrawBudget::State::Spent);

    // Processor time counts from the first unit spent, on this thread.
    limits = {};
    limits.cpuSeconds = 0.01;
    DrawBudget time(limits);
    volatile double sink = 0;
    while (time.spend(1)) {
        for (int i = 0; i < 10000; ++i) {
            sink = sink + i;
        }
    }
    EXPECT_EQ(time.state(), DrawBudget::State::Spent);

    std::atomic<bool> stop{false};
    DrawBudget stopped(&stop);
    EXPECT_TRUE(stopped.goOn());
    stop = true;
    EXPECT_FALSE(stopped.goOn());
    EXPECT_EQ(stopped.state(), DrawBudget::State::Cancelled);
}

} // namespace
} // namespace vimbrel
