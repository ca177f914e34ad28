#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "viewer/metafile/gdi_objects.h"

namespace vimbrel {

// The metafile's table of created objects. WMF records put a new object in
// the lowest free slot; EMF records name the slot. An index outside the table
// marks the file as damaged, which the players treat as failure.
class GdiObjectTable
{
public:
    explicit GdiObjectTable(uint32_t size);

    uint32_t size() const { return static_cast<uint32_t>(mSlots.size()); }
    bool inRange(uint32_t index) const { return index < mSlots.size(); }

    // Puts `object` in the lowest free slot, growing the table (up to the
    // player's limit) when the file declared too few. False when full.
    bool add(GdiObject object);

    // Puts `object` in slot `index`, replacing what was there.
    bool put(uint32_t index, GdiObject object);

    // The object in slot `index`, or nullptr when the slot is empty or outside.
    const GdiObject* get(uint32_t index) const;

    bool remove(uint32_t index);

private:
    std::vector<std::optional<GdiObject>> mSlots;
};

} // namespace vimbrel
