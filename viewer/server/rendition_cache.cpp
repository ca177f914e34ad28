#include "viewer/server/rendition_cache.h"

namespace vimbrel {
namespace {

size_t sizeOf(const RenditionResult& result)
{
    // An undrawable picture costs its entry only.
    return result.rendition ? result.rendition->bytes.size() : 0;
}

} // namespace

std::optional<RenditionResult> RenditionCache::find(const Key& key)
{
    const std::lock_guard lock(mMutex);
    for (auto entry = mEntries.begin(); entry != mEntries.end(); ++entry) {
        if (entry->key == key) {
            mEntries.splice(mEntries.begin(), mEntries, entry);
            return mEntries.front().result;
        }
    }
    return std::nullopt;
}

void RenditionCache::put(const Key& key, RenditionResult result)
{
    const std::lock_guard lock(mMutex);
    const size_t size = sizeOf(result);
    if (size > mMaxBytes) {
        return; // larger than the whole cache: made anew each time
    }
    for (auto entry = mEntries.begin(); entry != mEntries.end(); ++entry) {
        if (entry->key == key) {
            mBytes -= sizeOf(entry->result);
            mEntries.erase(entry);
            break;
        }
    }
    mEntries.push_front({key, std::move(result)});
    mBytes += size;
    // Undrawable entries weigh nothing, so their number is bounded too.
    while (mBytes > mMaxBytes || mEntries.size() > 4096) {
        mBytes -= sizeOf(mEntries.back().result);
        mEntries.pop_back();
    }
}

size_t RenditionCache::bytes() const
{
    const std::lock_guard lock(mMutex);
    return mBytes;
}

} // namespace vimbrel
