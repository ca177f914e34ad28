#pragma once

#include <cstdint>

// Bounds on the pictures that are decoded or drawn into memory: a header that
// claims more is refused before anything is allocated. They lie far beyond
// what real pictures use.
namespace vimbrel::picture_limits {

// Largest picture side and area.
inline constexpr int kMaxSide = 10000;
inline constexpr int64_t kMaxPixels = 64LL * 1000 * 1000;

// True when a picture of w x h pixels may be allocated.
inline constexpr bool fits(int64_t w, int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

} // namespace vimbrel::picture_limits
