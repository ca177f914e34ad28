#include "viewer/server/rendition_cache.h"

namespace vimbrel {
namespace {

size_t sizeOf(const std::shared_ptr<const Rendition>& rendition)
{
    // An undrawable picture costs its entry only.
    return rendition ? rendition->bytes.size() : 0;
}

} // namespace

std::shared_ptr<const Rendition> RenditionCache::find(const Key& key, bool& known)
{
    const std::lock_guard lock(mMutex);
    for (auto entry = mEntries.begin(); entry != mEntries.end(); ++entry) {
        if (entry->key == key) {
            mEntries.splice(mEntries.begin(), mEntries, entry);
            known = true;
            return mEntries.front().rendition;
        }
    }
    known = false;
    return nullptr;
}

void RenditionCache::put(const Key& key, std::shared_ptr<const Rendition> rendition)
{
    const std::lock_guard lock(mMutex);
    const size_t size = sizeOf(rendition);
    if (size > mMaxBytes) {
        return; // larger than the whole cache: made anew each time
    }
    for (auto entry = mEntries.begin(); entry != mEntries.end(); ++entry) {
        if (entry->key == key) {
            mBytes -= sizeOf(entry->rendition);
            mEntries.erase(entry);
            break;
        }
    }
    mEntries.push_front({key, std::move(rendition)});
    mBytes += size;
    // Undrawable entries weigh nothing, so their number is bounded too.
    while (mBytes > mMaxBytes || mEntries.size() > 4096) {
        mBytes -= sizeOf(mEntries.back().rendition);
        mEntries.pop_back();
    }
}

size_t RenditionCache::bytes() const
{
    const std::lock_guard lock(mMutex);
    return mBytes;
}

} // namespace vimbrel
