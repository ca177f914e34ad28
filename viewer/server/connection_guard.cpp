#include "viewer/server/connection_guard.h"

#include <algorithm>

namespace vimbrel {

class ConnectionGuard::Entry
{
public:
    enum class Phase
    {
        Fresh,     // opened, no whole request yet
        Requested, // a request is being answered
        Between,   // keep-alive, waiting for the next request
    };

    long long socket = -1;
    std::thread::id thread;
    Phase phase = Phase::Fresh;
    Clock::time_point since;
    bool closing = false;
    std::list<Entry>::iterator place;
};

ConnectionGuard::ConnectionGuard(Times times, unsigned sharePerThread, Closer close)
    : mTimes(times), mShare(std::max(1u, sharePerThread)), mClose(std::move(close)),
      mWatcher([this] { watch(); })
{
}

ConnectionGuard::~ConnectionGuard()
{
    {
        const std::lock_guard lock(mMutex);
        mStopping = true;
    }
    mChanged.notify_all();
    mWatcher.join();
}

size_t ConnectionGuard::liveOf(std::thread::id thread) const
{
    return size_t(std::count_if(mEntries.begin(), mEntries.end(), [&](const Entry& entry) {
        return entry.thread == thread && !entry.closing;
    }));
}

void ConnectionGuard::closeLocked(Entry& entry)
{
    if (!entry.closing) {
        entry.closing = true;
        mClose(entry.socket);
    }
}

ConnectionGuard::Entry* ConnectionGuard::opened(long long socket)
{
    const std::lock_guard lock(mMutex);
    Entry& entry = mEntries.emplace_back();
    entry.place = std::prev(mEntries.end());
    entry.socket = socket;
    entry.thread = std::this_thread::get_id();
    entry.since = Clock::now();
    // Room for the newcomer: the thread's connections idle longest go, those
    // that never made a whole request before those between requests.
    size_t live = liveOf(entry.thread);
    while (live > mShare) {
        Entry* oldest = nullptr;
        for (Entry& other : mEntries) {
            if (&other == &entry || other.closing || other.thread != entry.thread ||
                other.phase == Entry::Phase::Requested) {
                continue;
            }
            const auto rank = [](const Entry& e) { return e.phase == Entry::Phase::Fresh ? 0 : 1; };
            if (oldest == nullptr || rank(other) < rank(*oldest) ||
                (rank(other) == rank(*oldest) && other.since < oldest->since)) {
                oldest = &other;
            }
        }
        if (oldest == nullptr) {
            break;
        }
        closeLocked(*oldest);
        --live;
    }
    watchFor(entry.since + mTimes.head);
    return &entry;
}

void ConnectionGuard::requestBegan(Entry* entry)
{
    const std::lock_guard lock(mMutex);
    entry->phase = Entry::Phase::Requested;
}

void ConnectionGuard::requestEnded(Entry* entry)
{
    const std::lock_guard lock(mMutex);
    entry->phase = Entry::Phase::Between;
    entry->since = Clock::now();
    watchFor(entry->since + mTimes.idle);
}

void ConnectionGuard::watchFor(Clock::time_point deadline)
{
    if (deadline < mNextLook) {
        mNextLook = deadline;
        mChanged.notify_all();
    }
}

void ConnectionGuard::closed(Entry* entry)
{
    const std::lock_guard lock(mMutex);
    mEntries.erase(entry->place);
}

bool ConnectionGuard::overloaded(const Entry* entry) const
{
    const std::lock_guard lock(mMutex);
    return liveOf(entry->thread) > mShare;
}

void ConnectionGuard::watch()
{
    std::unique_lock lock(mMutex);
    while (!mStopping) {
        const Clock::time_point now = Clock::now();
        Clock::time_point next = Clock::time_point::max();
        for (Entry& entry : mEntries) {
            if (entry.closing || entry.phase == Entry::Phase::Requested) {
                continue;
            }
            const Clock::time_point deadline =
                entry.since + (entry.phase == Entry::Phase::Fresh ? mTimes.head : mTimes.idle);
            if (deadline <= now) {
                closeLocked(entry);
            } else {
                next = std::min(next, deadline);
            }
        }
        mNextLook = next;
        if (next == Clock::time_point::max()) {
            mChanged.wait(lock);
        } else {
            mChanged.wait_until(lock, next);
        }
    }
}

} // namespace vimbrel
