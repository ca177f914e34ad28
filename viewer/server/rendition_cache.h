#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "viewer/server/rendition.h"

namespace vimbrel {

// The renditions made last, so that a picture the viewer asks for again (the
// menu, the main frame, the thumbnail window) is drawn once. Keyed by the
// file itself and its state (device, inode, size, modification time), so a
// changed file is drawn anew; bounded by the bytes held, the least recently
// used going first. A picture that could not be drawn, or took too much work,
// is remembered as such, so that a reload does not draw it again. Safe for
// the server's threads.
class RenditionCache
{
public:
    struct Key
    {
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t size = 0;
        int64_t modified = 0; // nanoseconds
        bool operator==(const Key&) const = default;
    };

    explicit RenditionCache(size_t maxBytes = size_t(64) << 20) : mMaxBytes(maxBytes) {}

    // What came of drawing the file of `key`; nothing when it was never
    // drawn (or is forgotten).
    std::optional<RenditionResult> find(const Key& key);
    void put(const Key& key, RenditionResult result);

    size_t bytes() const;

private:
    struct Entry
    {
        Key key;
        RenditionResult result;
    };

    mutable std::mutex mMutex;
    std::list<Entry> mEntries; // most recently used first
    size_t mBytes = 0;
    size_t mMaxBytes;
};

} // namespace vimbrel
