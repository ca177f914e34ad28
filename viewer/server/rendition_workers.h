#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "viewer/pictures/draw_budget.h"
#include "viewer/server/rendition.h"
#include "viewer/server/rendition_cache.h"

namespace vimbrel {

// Draws the renditions of the server on threads of their own, beside the
// threads that answer files, so that a picture being drawn never holds up a
// page, a JPEG or a button. Each drawing has a budget (a few seconds of its
// thread's processor time, and the work the player counts); one that goes
// beyond it is remembered as taking too much work. A file is drawn once at a
// time: whoever asks for a picture already being drawn waits for that
// drawing; and only so many requests may wait at once.
class RenditionWorkers
{
public:
    // How a picture is drawn: makeRendition() unless a test puts its own.
    using Drawer = std::function<std::optional<Rendition>(
        const std::string& name, std::span<const uint8_t> file, DrawBudget& budget)>;

    struct Limits
    {
        unsigned threads = 2;
        // Requests waiting for a drawing at once, those being drawn included.
        unsigned waiting = 32;
        DrawBudget::Limits budget;
        size_t cacheBytes = size_t(64) << 20;
        Drawer draw;
    };

    // Called once with what came of a request, on a worker thread.
    using Done = std::function<void(const RenditionResult&)>;

    enum class Accepted
    {
        Queued,  // `done` will be called
        Busy,    // too many requests wait already; `done` is not called
        Stopped, // stop() has been called; `done` is not called
    };

    explicit RenditionWorkers(const Limits& limits);
    ~RenditionWorkers();
    RenditionWorkers(const RenditionWorkers&) = delete;
    RenditionWorkers& operator=(const RenditionWorkers&) = delete;

    // What came of drawing the file of `key` before, if it is remembered.
    std::optional<RenditionResult> known(const RenditionCache::Key& key) const;

    // Draws the rendition of the picture `path`, whose open file `fd` (read
    // from its start; owned from now on, closed also when refused) has the
    // state `key`, and hands the result to `done`.
    Accepted request(const RenditionCache::Key& key, const std::string& path, int fd, Done done);

    // Ends the work: drawings under way are told to stop, requests not yet
    // drawn get Stopped, and the threads are waited for up to `patience`.
    // False when a drawing did not end in time; its thread is left to end on
    // its own and touches nothing of the server's then.
    bool stop(std::chrono::milliseconds patience);

private:
    struct State;
    static void work(const std::shared_ptr<State>& state);

    std::shared_ptr<State> mState;
};

} // namespace vimbrel
