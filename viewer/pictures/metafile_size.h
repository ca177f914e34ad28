#pragma once

#include <algorithm>
#include <cmath>

// The size a metafile is drawn at "at its own size", the same for the
// tool's own player and for GDI on Windows: 96 pixels an inch, and a
// picture larger than 4096 pixels a side or 16 megapixels scaled down to fit
// (pages of several metres, as some printer drivers write, would otherwise
// be refused or drawn empty).
namespace vimbrel::metafile_size {

inline constexpr double kScreenDpi = 96;
inline constexpr double kMaxSide = 4096;
inline constexpr double kMaxPixels = 16.0e6;

// The pixels an EMF frame spans: the frame (right - left, in hundredths of
// a millimetre) at 96 pixels an inch, plus one, as both its edges are
// pixels of the picture.
inline double emfSide(double frameHundredthsOfMm)
{
    return std::floor(frameHundredthsOfMm * kScreenDpi / 2540 + 0.5) + 1;
}

// The factor (at most 1) that brings a picture of `width` x `height` pixels
// within the largest size drawn.
inline double fitFactor(double width, double height)
{
    if (!(width > 0) || !(height > 0)) {
        return 1;
    }
    return std::min(
        {1.0, kMaxSide / width, kMaxSide / height, std::sqrt(kMaxPixels / (width * height))});
}

} // namespace vimbrel::metafile_size
