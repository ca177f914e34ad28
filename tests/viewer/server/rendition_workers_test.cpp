#include "viewer/server/rendition_workers.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "platform/whole_file.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using namespace std::chrono_literals;

// A drawer the test holds until it lets go; it counts its drawings. Shared,
// as a drawing left behind by stop() may end after the test.
struct HeldDrawer
{
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    bool heedsStop = true;
    int drawings = 0;
    int started = 0;

    static RenditionWorkers::Drawer of(const std::shared_ptr<HeldDrawer>& held)
    {
        return [held](const std::string&, std::span<const uint8_t>,
                      DrawBudget& budget) -> std::optional<Rendition> {
            std::unique_lock lock(held->mutex);
            ++held->started;
            held->changed.notify_all();
            while (!held->released && (!held->heedsStop || budget.goOn())) {
                held->changed.wait_for(lock, 1ms);
            }
            ++held->drawings;
            if (!budget.goOn()) {
                return std::nullopt;
            }
            return Rendition{"image/png", {1, 2, 3}};
        };
    }

    void release()
    {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }

    bool waitUntilStarted(int count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] { return started >= count; });
    }
};

// The results handed to the requests' callbacks.
struct Results
{
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<RenditionResult::Kind> kinds;

    RenditionWorkers::Done done()
    {
        return [this](const RenditionResult& result) {
            const std::lock_guard lock(mutex);
            kinds.push_back(result.kind);
            changed.notify_all();
        };
    }

    std::vector<RenditionResult::Kind> waitFor(size_t count)
    {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, 10s, [&] { return kinds.size() >= count; });
        return kinds;
    }
};

class RenditionWorkersTest : public ::testing::Test
{
protected:
    int openPicture() const { return openPlainFile(mFolder.write("a.wmf", "picture")); }

    testing::TempFolder mFolder;
    std::shared_ptr<HeldDrawer> mDrawer = std::make_shared<HeldDrawer>();
    Results mResults;
};

using Kind = RenditionResult::Kind;

TEST_F(RenditionWorkersTest, AFileIsDrawnOnceForAllWhoAskMeanwhileAndRemembered)
{
    RenditionWorkers::Limits limits;
    limits.draw = HeldDrawer::of(mDrawer);
    RenditionWorkers workers(limits);
    const RenditionCache::Key a{1, 1, 7, 1};
    const RenditionCache::Key b{1, 2, 7, 1};
    using Accepted = RenditionWorkers::Accepted;
    EXPECT_EQ(workers.request(a, "a.wmf", openPicture(), mResults.done()), Accepted::Queued);
    ASSERT_TRUE(mDrawer->waitUntilStarted(1));
    EXPECT_EQ(workers.request(a, "a.wmf", openPicture(), mResults.done()), Accepted::Queued);
    EXPECT_EQ(workers.request(b, "a.wmf", openPicture(), mResults.done()), Accepted::Queued);
    mDrawer->release();
    EXPECT_EQ(mResults.waitFor(3), std::vector<Kind>(3, Kind::Drawn));
    EXPECT_EQ(mDrawer->drawings, 2); // a once, b once
    ASSERT_TRUE(workers.known(a).has_value());
    EXPECT_EQ(workers.known(a)->rendition->bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(RenditionWorkersTest, TooManyWaitingAreTurnedAwayAndTooMuchWorkIsRemembered)
{
    RenditionWorkers::Limits limits;
    limits.threads = 1;
    limits.waiting = 2;
    limits.draw = HeldDrawer::of(mDrawer);
    RenditionWorkers workers(limits);
    using Accepted = RenditionWorkers::Accepted;
    EXPECT_EQ(workers.request({1, 1, 1, 1}, "a.wmf", openPicture(), mResults.done()),
              Accepted::Queued);
    EXPECT_EQ(workers.request({1, 2, 1, 1}, "a.wmf", openPicture(), mResults.done()),
              Accepted::Queued);
    EXPECT_EQ(workers.request({1, 3, 1, 1}, "a.wmf", openPicture(), mResults.done()),
              Accepted::Busy);
    mDrawer->release();
    EXPECT_EQ(mResults.waitFor(2).size(), 2u);

    limits = {};
    limits.draw = [](const std::string&, std::span<const uint8_t>,
                     DrawBudget& budget) -> std::optional<Rendition> {
        budget.spend(1e30);
        return std::nullopt;
    };
    RenditionWorkers costly(limits);
    const RenditionCache::Key key{2, 1, 1, 1};
    costly.request(key, "a.wmf", openPicture(), mResults.done());
    EXPECT_EQ(mResults.waitFor(3).back(), Kind::TooMuchWork);
    ASSERT_TRUE(costly.known(key).has_value());
    EXPECT_EQ(costly.known(key)->kind, Kind::TooMuchWork);
}

TEST_F(RenditionWorkersTest, StoppingEndsTheDrawingsAndAnswersEveryoneWaiting)
{
    RenditionWorkers::Limits limits;
    limits.threads = 1;
    limits.draw = HeldDrawer::of(mDrawer);
    RenditionWorkers workers(limits);
    workers.request({1, 1, 1, 1}, "a.wmf", openPicture(), mResults.done());
    ASSERT_TRUE(mDrawer->waitUntilStarted(1));
    workers.request({1, 2, 1, 1}, "a.wmf", openPicture(), mResults.done()); // not yet drawn
    EXPECT_TRUE(workers.stop(10s));
    EXPECT_EQ(mResults.waitFor(2), std::vector<Kind>(2, Kind::Stopped));
    EXPECT_FALSE(workers.known({1, 1, 1, 1}).has_value()); // a stop is no verdict
    EXPECT_EQ(workers.request({1, 3, 1, 1}, "a.wmf", openPicture(), mResults.done()),
              RenditionWorkers::Accepted::Stopped);
}

TEST_F(RenditionWorkersTest, ADrawingThatDoesNotStopIsLeftBehindInTime)
{
    mDrawer->heedsStop = false;
    auto results = std::make_shared<Results>();
    {
        RenditionWorkers::Limits limits;
        limits.threads = 1;
        limits.draw = HeldDrawer::of(mDrawer);
        RenditionWorkers workers(limits);
        workers.request({1, 1, 1, 1}, "a.wmf", openPicture(),
                        [results](const RenditionResult& result) { results->done()(result); });
        ASSERT_TRUE(mDrawer->waitUntilStarted(1));
        EXPECT_FALSE(workers.stop(50ms));
    }
    // The workers are gone; the drawing left behind ends on its own once it
    // may, and its thread still finds what it shares.
    mDrawer->release();
    EXPECT_EQ(results->waitFor(1).size(), 1u);
}

} // namespace
} // namespace vimbrel
