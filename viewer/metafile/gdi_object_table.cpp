#include "viewer/metafile/gdi_object_table.h"

#include <algorithm>

#include "viewer/metafile/metafile_limits.h"

namespace vimbrel {

GdiObjectTable::GdiObjectTable(uint32_t size) : mSlots(std::min(size, metafile_limits::kMaxObjects))
{
}

bool GdiObjectTable::add(GdiObject object)
{
    const auto free = std::find_if(mSlots.begin(), mSlots.end(),
                                   [](const std::optional<GdiObject>& slot) { return !slot; });
    if (free != mSlots.end()) {
        *free = std::move(object);
        return true;
    }
    if (mSlots.size() >= metafile_limits::kMaxObjects) {
        return false;
    }
    mSlots.emplace_back(std::move(object));
    return true;
}

bool GdiObjectTable::put(uint32_t index, GdiObject object)
{
    if (!inRange(index)) {
        return false;
    }
    mSlots[index] = std::move(object);
    return true;
}

const GdiObject* GdiObjectTable::get(uint32_t index) const
{
    if (!inRange(index) || !mSlots[index]) {
        return nullptr;
    }
    return &*mSlots[index];
}

bool GdiObjectTable::remove(uint32_t index)
{
    if (!inRange(index)) {
        return false;
    }
    mSlots[index].reset();
    return true;
}

} // namespace vimbrel
