#pragma once

#include <cstdint>

// Bounds that keep a damaged or hostile metafile from taking unbounded time or
// memory. They lie far beyond what real pictures use.
namespace vimbrel::metafile_limits {

// Largest picture side and area the player draws; a header claiming more is
// refused rather than allocated.
inline constexpr int kMaxSide = 10000;
inline constexpr int64_t kMaxPixels = 64LL * 1000 * 1000;

// Largest metafile file read into memory.
inline constexpr int64_t kMaxFileBytes = 256LL * 1024 * 1024;

// Records played from one file.
inline constexpr int64_t kMaxRecords = 2000000;

// Nesting of saved drawing states.
inline constexpr int kMaxSavedStates = 1024;

// Slots of the object table.
inline constexpr uint32_t kMaxObjects = 65536;

// Rectangles of one region.
inline constexpr uint32_t kMaxRegionRects = 16384;

// Pixels the drawing operations of one file may cover in all, counted by the
// area each one touches: far above what real pictures need, low enough that
// a small file cannot keep the player filling a large picture for hours.
inline constexpr double kMaxPaintedPixels = 4.0e9;

// Characters of one text output.
inline constexpr uint32_t kMaxTextLength = 16384;

// True when a picture of w x h pixels may be allocated.
inline constexpr bool fits(int64_t w, int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

} // namespace vimbrel::metafile_limits
