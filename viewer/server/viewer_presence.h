#pragma once

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace vimbrel {

// Which viewer windows are open in the browser, as the served pages' helper
// script reports them: each viewer window (the viewer or the thumbnail
// window) says when it is shown, again every `patience / 3`, and once when it
// goes, where the browser lets it. A window that has said nothing for
// `patience` counts as gone (a browser that crashed, a page the browser
// dropped without a word). Safe for the server's threads and the window's.
class ViewerPresence
{
public:
    using Clock = std::chrono::steady_clock;

    explicit ViewerPresence(std::chrono::seconds patience)
        : mPatience(patience), mGrace(std::min(std::chrono::seconds(5), patience / 3))
    {
    }

    std::chrono::seconds patience() const { return mPatience; }

    // A sign of life of the window `view`: open, or going.
    void seen(const std::string& view, bool going);

    // A request for a viewer's index.htm: the browser has come.
    void indexAsked();
    // How often index.htm was asked for so far.
    unsigned long indexRequests() const;

    // True while a viewer window is open, or a window went so short a while
    // ago (5 s, or a third of the patience when that is less) that it may be
    // a reload coming back.
    bool viewerOpen(Clock::time_point now = Clock::now()) const;
    // True once any viewer window has said it is shown.
    bool everShown() const;
    // The number of windows that count as open now.
    size_t openWindows(Clock::time_point now = Clock::now()) const;

private:
    size_t openLocked(Clock::time_point now) const;

    const std::chrono::seconds mPatience;
    const std::chrono::seconds mGrace;
    mutable std::mutex mMutex;
    std::map<std::string, Clock::time_point> mWindows; // last sign of each open window
    Clock::time_point mLastGoing{};
    bool mEverShown = false;
    unsigned long mIndexRequests = 0;
};

} // namespace vimbrel
