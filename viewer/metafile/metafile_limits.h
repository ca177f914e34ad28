#pragma once

#include <cstdint>

#include "viewer/pictures/picture_limits.h"

// Bounds that keep a damaged or hostile metafile from taking unbounded time or
// memory. They lie far beyond what real pictures use.
namespace vimbrel::metafile_limits {

// Largest picture side and area the player draws: those of every decoded
// picture.
inline constexpr int kMaxSide = picture_limits::kMaxSide;
inline constexpr int64_t kMaxPixels = picture_limits::kMaxPixels;
using picture_limits::fits;

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

// Characters of one text output.
inline constexpr uint32_t kMaxTextLength = 16384;

} // namespace vimbrel::metafile_limits
