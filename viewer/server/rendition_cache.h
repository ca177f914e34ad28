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
// used going first. Safe for the server's threads.
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

    // The rendition for `key`, or nothing (`known` false) when it was never
    // made; a picture found undrawable is remembered as such (`known` true,
    // nothing returned).
    std::shared_ptr<const Rendition> find(const Key& key, bool& known);
    void put(const Key& key, std::shared_ptr<const Rendition> rendition);

    size_t bytes() const;

private:
    struct Entry
    {
        Key key;
        std::shared_ptr<const Rendition> rendition; // null: cannot be drawn
    };

    mutable std::mutex mMutex;
    std::list<Entry> mEntries; // most recently used first
    size_t mBytes = 0;
    size_t mMaxBytes;
};

} // namespace vimbrel
