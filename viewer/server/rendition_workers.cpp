#include "viewer/server/rendition_workers.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/whole_file.h"

namespace vimbrel {
namespace {

// Pictures read into memory for a rendition may be at most this large.
constexpr size_t kMaxRenditionSource = size_t(256) << 20;

struct Job
{
    RenditionCache::Key key;
    std::string path;
    int fd = -1;
    std::vector<RenditionWorkers::Done> waiters;
};

RenditionResult draw(const Job& job, const RenditionWorkers::Limits& limits,
                     const std::atomic<bool>& cancel)
{
    const WholeFile file = readOpenFile(job.fd, kMaxRenditionSource);
    closeFile(job.fd);
    if (file.state != WholeFile::State::Read) {
        return {};
    }
    DrawBudget budget(limits.budget, &cancel);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
    const std::span<const uint8_t> content(bytes, file.bytes.size());
    auto made = limits.draw ? limits.draw(job.path, content, budget)
                            : makeRendition(job.path, content, budget);
    if (made) {
        return {RenditionResult::Kind::Drawn, std::make_shared<const Rendition>(std::move(*made))};
    }
    switch (budget.state()) {
    case DrawBudget::State::Spent:
        return {RenditionResult::Kind::TooMuchWork, nullptr};
    case DrawBudget::State::Cancelled:
        return {RenditionResult::Kind::Stopped, nullptr};
    case DrawBudget::State::Within:
        break;
    }
    return {};
}

} // namespace

// Everything the threads share; it lives as long as the last of them, so
// that a thread left to end on its own after stop() finds it still there.
struct RenditionWorkers::State
{
    explicit State(const Limits& limits) : limits(limits), cache(limits.cacheBytes) {}

    const Limits limits;
    RenditionCache cache;
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable work;
    std::condition_variable ended;
    std::deque<std::shared_ptr<Job>> queue;
    std::vector<std::shared_ptr<Job>> underWay; // queued or being drawn
    unsigned waiting = 0;
    unsigned running = 0;
    bool stopping = false;
    std::vector<std::thread> threads;

    std::shared_ptr<Job> jobFor(const RenditionCache::Key& key)
    {
        for (const auto& job : underWay) {
            if (job->key == key) {
                return job;
            }
        }
        return nullptr;
    }

    void forget(const std::shared_ptr<Job>& job)
    {
        std::erase(underWay, job);
        waiting -= unsigned(job->waiters.size());
    }
};

RenditionWorkers::RenditionWorkers(const Limits& limits) : mState(std::make_shared<State>(limits))
{
    const unsigned threads = std::max(1u, limits.threads);
    mState->running = threads;
    for (unsigned i = 0; i < threads; ++i) {
        mState->threads.emplace_back([state = mState] { work(state); });
    }
}

RenditionWorkers::~RenditionWorkers()
{
    stop(std::chrono::milliseconds(1500));
}

std::optional<RenditionResult> RenditionWorkers::known(const RenditionCache::Key& key) const
{
    return mState->cache.find(key);
}

RenditionWorkers::Accepted RenditionWorkers::request(const RenditionCache::Key& key,
                                                     const std::string& path, int fd, Done done)
{
    std::unique_lock lock(mState->mutex);
    const Accepted refusal = mState->stopping                            ? Accepted::Stopped
                             : mState->waiting >= mState->limits.waiting ? Accepted::Busy
                                                                         : Accepted::Queued;
    if (refusal != Accepted::Queued) {
        lock.unlock();
        closeFile(fd);
        return refusal;
    }
    ++mState->waiting;
    if (const std::shared_ptr<Job> drawing = mState->jobFor(key)) {
        drawing->waiters.push_back(std::move(done));
        lock.unlock();
        closeFile(fd); // the drawing under way reads its own
        return Accepted::Queued;
    }
    auto job = std::make_shared<Job>();
    job->key = key;
    job->path = path;
    job->fd = fd;
    job->waiters.push_back(std::move(done));
    mState->underWay.push_back(job);
    mState->queue.push_back(std::move(job));
    mState->work.notify_one();
    return Accepted::Queued;
}

bool RenditionWorkers::stop(std::chrono::milliseconds patience)
{
    std::deque<std::shared_ptr<Job>> undrawn;
    {
        const std::lock_guard lock(mState->mutex);
        if (mState->threads.empty()) {
            return mState->running == 0;
        }
        mState->stopping = true;
        mState->cancel = true;
        undrawn.swap(mState->queue);
        for (const auto& job : undrawn) {
            mState->forget(job);
        }
    }
    mState->work.notify_all();
    for (const auto& job : undrawn) {
        closeFile(job->fd);
        for (const Done& done : job->waiters) {
            done({RenditionResult::Kind::Stopped, nullptr});
        }
    }
    std::unique_lock lock(mState->mutex);
    const bool ended =
        mState->ended.wait_for(lock, patience, [this] { return mState->running == 0; });
    std::vector<std::thread> threads = std::move(mState->threads);
    mState->threads.clear();
    lock.unlock();
    for (std::thread& thread : threads) {
        if (ended) {
            thread.join();
        } else {
            thread.detach();
        }
    }
    return ended;
}

void RenditionWorkers::work(const std::shared_ptr<State>& state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->work.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
        if (state->queue.empty()) {
            break; // stopping
        }
        const std::shared_ptr<Job> job = std::move(state->queue.front());
        state->queue.pop_front();
        lock.unlock();
        const RenditionResult result = draw(*job, state->limits, state->cancel);
        lock.lock();
        if (!state->stopping && result.kind != RenditionResult::Kind::Stopped) {
            state->cache.put(job->key, result);
        }
        state->forget(job);
        const std::vector<Done> waiters = std::move(job->waiters);
        lock.unlock();
        for (const Done& done : waiters) {
            done(result);
        }
        lock.lock();
    }
    --state->running;
    state->ended.notify_all();
}

} // namespace vimbrel
