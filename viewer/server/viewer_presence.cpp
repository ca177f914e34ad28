#include "viewer/server/viewer_presence.h"

namespace vimbrel {
namespace {

// Windows a misbehaving page could make up: beyond this many the oldest sign
// goes first.
constexpr size_t kMostWindows = 256;

} // namespace

void ViewerPresence::seen(const std::string& view, bool going)
{
    const std::lock_guard lock(mMutex);
    const Clock::time_point now = Clock::now();
    if (going) {
        mWindows.erase(view);
        mLastGoing = now;
        return;
    }
    mEverShown = true;
    mWindows[view] = now;
    if (mWindows.size() > kMostWindows) {
        auto oldest = mWindows.begin();
        for (auto window = mWindows.begin(); window != mWindows.end(); ++window) {
            if (window->second < oldest->second) {
                oldest = window;
            }
        }
        mWindows.erase(oldest);
    }
}

void ViewerPresence::indexAsked()
{
    const std::lock_guard lock(mMutex);
    ++mIndexRequests;
}

unsigned long ViewerPresence::indexRequests() const
{
    const std::lock_guard lock(mMutex);
    return mIndexRequests;
}

size_t ViewerPresence::openLocked(Clock::time_point now) const
{
    size_t open = 0;
    for (const auto& [view, lastSign] : mWindows) {
        open += now - lastSign < mPatience ? 1 : 0;
    }
    return open;
}

size_t ViewerPresence::openWindows(Clock::time_point now) const
{
    const std::lock_guard lock(mMutex);
    return openLocked(now);
}

bool ViewerPresence::viewerOpen(Clock::time_point now) const
{
    const std::lock_guard lock(mMutex);
    return openLocked(now) > 0 || (mEverShown && now - mLastGoing < mGrace);
}

bool ViewerPresence::everShown() const
{
    const std::lock_guard lock(mMutex);
    return mEverShown;
}

} // namespace vimbrel
