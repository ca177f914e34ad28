#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace vimbrel {

// Keeps idle and slow clients from taking every connection of the server.
// The HTTP engine's own timeout starts again with every byte, so a client
// that sends a byte every few seconds could hold a connection for ever, and a
// few hundred such clients lock the browser out. The guard closes:
//  - a connection whose request head has not arrived whole within `head` of
//    its opening, or within `idle` of its last answer, however it trickles;
//  - when a serving thread holds more than its share of connections, the
//    ones of that thread idle longest, to make room for the new one: first
//    those that never sent a whole request, then keep-alive connections
//    between requests. A connection in the middle of a request is never
//    closed by the guard.
// Each serving thread of the engine has its own share, as each accepts and
// serves its own connections.
class ConnectionGuard
{
public:
    struct Times
    {
        std::chrono::milliseconds head{10000};
        std::chrono::milliseconds idle{30000};
    };

    // Closes the connection of `socket` (shutting it down, so that its
    // serving thread sees the end and lets it go). Called under the guard's
    // lock, so never for a socket whose connection has been reported closed.
    using Closer = std::function<void(long long socket)>;

    class Entry;

    ConnectionGuard(Times times, unsigned sharePerThread, Closer close);
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // The calling serving thread has opened a connection on `socket`; others
    // of that thread may be closed to make room.
    Entry* opened(long long socket);
    // Its request head has arrived whole; until requestEnded() it stays.
    void requestBegan(Entry* entry);
    // Its answer has gone out; it waits for the next request.
    void requestEnded(Entry* entry);
    // The engine has let it go (before closing its socket); `entry` is gone.
    void closed(Entry* entry);

    // True when the thread of `entry` serves more than its share with
    // connections in the middle of requests: nothing is left to close, and
    // the request is to be refused.
    bool overloaded(const Entry* entry) const;

private:
    using Clock = std::chrono::steady_clock;
    void watch();
    void closeLocked(Entry& entry);
    // Wakes the watcher when `deadline` comes before its next look.
    void watchFor(Clock::time_point deadline);
    size_t liveOf(std::thread::id thread) const;

    const Times mTimes;
    const unsigned mShare;
    const Closer mClose;
    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::list<Entry> mEntries;
    Clock::time_point mNextLook = Clock::time_point::max();
    bool mStopping = false;
    std::thread mWatcher;
};

} // namespace vimbrel
