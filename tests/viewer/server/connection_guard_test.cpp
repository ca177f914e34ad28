#include "viewer/server/connection_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace vimbrel {
namespace {

using namespace std::chrono_literals;

// The sockets the guard closed, in order.
class ClosedSockets
{
public:
    ConnectionGuard::Closer closer()
    {
        return [this](long long socket) {
            const std::lock_guard lock(mMutex);
            mSockets.push_back(socket);
            mChanged.notify_all();
        };
    }

    std::vector<long long> sockets()
    {
        const std::lock_guard lock(mMutex);
        return mSockets;
    }

    // Waits until `socket` is closed, or at most `patience`.
    bool waitFor(long long socket, std::chrono::milliseconds patience)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, patience, [&] {
            return std::find(mSockets.begin(), mSockets.end(), socket) != mSockets.end();
        });
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<long long> mSockets;
};

TEST(ConnectionGuard, ANewcomerBeyondTheShareClosesTheIdlestThoseThatNeverAskedFirst)
{
    ClosedSockets closed;
    ConnectionGuard guard({10s, 30s}, 3, closed.closer());
    ConnectionGuard::Entry* a = guard.opened(1);
    guard.requestBegan(a);
    guard.requestEnded(a); // keep-alive, between requests
    ConnectionGuard::Entry* b = guard.opened(2);
    ConnectionGuard::Entry* c = guard.opened(3);
    EXPECT_TRUE(closed.sockets().empty());
    ConnectionGuard::Entry* d = guard.opened(4);
    // b never asked for anything and is older than c: it goes, before a.
    EXPECT_EQ(closed.sockets(), std::vector<long long>{2});
    guard.closed(b);

    guard.requestBegan(c);
    guard.requestBegan(d);
    ConnectionGuard::Entry* e = guard.opened(5);
    // c and d are in the middle of requests: the keep-alive one goes.
    EXPECT_EQ(closed.sockets(), (std::vector<long long>{2, 1}));
    guard.closed(a);
    EXPECT_FALSE(guard.overloaded(e));

    guard.requestBegan(e);
    ConnectionGuard::Entry* f = guard.opened(6);
    // Nothing is left to close: the newcomer's request is refused instead.
    EXPECT_EQ(closed.sockets().size(), 2u);
    EXPECT_TRUE(guard.overloaded(f));

    // Another serving thread has a share of its own.
    std::thread other([&] {
        ConnectionGuard::Entry* g = guard.opened(7);
        EXPECT_FALSE(guard.overloaded(g));
        guard.closed(g);
    });
    other.join();
    EXPECT_EQ(closed.sockets().size(), 2u);
    for (ConnectionGuard::Entry* entry : {c, d, e, f}) {
        guard.closed(entry);
    }
}

TEST(ConnectionGuard, HeadsThatTrickleAndIdleKeepAlivesAreClosedAtTheirDeadlines)
{
    ClosedSockets closed;
    ConnectionGuard guard({100ms, 200ms}, 10, closed.closer());
    ConnectionGuard::Entry* trickling = guard.opened(1); // its head never completes
    ConnectionGuard::Entry* answering = guard.opened(2);
    guard.requestBegan(answering); // a long answer going out
    ConnectionGuard::Entry* idle = guard.opened(3);
    guard.requestBegan(idle);
    guard.requestEnded(idle);
    EXPECT_TRUE(closed.waitFor(1, 5s));
    EXPECT_TRUE(closed.waitFor(3, 5s));
    // However long its answer takes, a connection in a request stays.
    const std::vector<long long> sockets = closed.sockets();
    EXPECT_EQ(std::count(sockets.begin(), sockets.end(), 2), 0);
    for (ConnectionGuard::Entry* entry : {trickling, answering, idle}) {
        guard.closed(entry);
    }
}

} // namespace
} // namespace vimbrel
