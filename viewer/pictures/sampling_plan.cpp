#include "viewer/pictures/sampling_plan.h"

#include <algorithm>
#include <cstring>

namespace vimbrel {

bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

int keptSourceIndex(int i, int target, int source)
{
    return static_cast<int>((2 * static_cast<std::int64_t>(i) + 1) * source /
                            (2 * static_cast<std::int64_t>(target)));
}

SamplingPlan::SamplingPlan(int storedWidth, int storedHeight, int orientation, int targetWidth,
                           int targetHeight)
    : mTargetWidth(targetWidth), mTargetHeight(targetHeight)
{
    if (orientation < 1 || orientation > 8) {
        orientation = 1;
    }
    const bool swap = orientationSwapsSides(orientation);
    const int shownWidth = swap ? storedHeight : storedWidth;
    const int shownHeight = swap ? storedWidth : storedHeight;
    // Mirrored along the stored columns or rows, per orientation.
    const bool flipColumns =
        orientation == 2 || orientation == 3 || orientation == 7 || orientation == 8;
    const bool flipRows =
        orientation == 3 || orientation == 4 || orientation == 6 || orientation == 7;

    auto storedColumn = [&](int shown) { return flipColumns ? storedWidth - 1 - shown : shown; };
    auto storedRowOf = [&](int shown) { return flipRows ? storedHeight - 1 - shown : shown; };

    if (!swap) {
        // Displayed columns are stored columns; each target row reads one stored row.
        mColumnOffsets.resize(static_cast<size_t>(targetWidth));
        for (int x = 0; x < targetWidth; ++x) {
            mColumnOffsets[static_cast<size_t>(x)] =
                3 * storedColumn(keptSourceIndex(x, targetWidth, shownWidth));
        }
        mRows.reserve(static_cast<size_t>(targetHeight));
        for (int y = 0; y < targetHeight; ++y) {
            mRows.push_back(
                {storedRowOf(keptSourceIndex(y, targetHeight, shownHeight)), y * targetWidth, 1});
        }
    } else {
        // Displayed columns are stored rows; each target column reads one stored row.
        mColumnOffsets.resize(static_cast<size_t>(targetHeight));
        for (int y = 0; y < targetHeight; ++y) {
            mColumnOffsets[static_cast<size_t>(y)] =
                3 * storedColumn(keptSourceIndex(y, targetHeight, shownHeight));
        }
        mRows.reserve(static_cast<size_t>(targetWidth));
        for (int x = 0; x < targetWidth; ++x) {
            mRows.push_back(
                {storedRowOf(keptSourceIndex(x, targetWidth, shownWidth)), x, targetWidth});
        }
    }
    std::stable_sort(mRows.begin(), mRows.end(),
                     [](const Row& a, const Row& b) { return a.storedRow < b.storedRow; });
}

void SamplingPlan::apply(const Row& row, const std::uint8_t* storedRow, std::uint8_t* target) const
{
    std::uint8_t* out = target + 3 * static_cast<size_t>(row.targetStart);
    const size_t step = 3 * static_cast<size_t>(row.targetStep);
    for (const int offset : mColumnOffsets) {
        std::memcpy(out, storedRow + offset, 3);
        out += step;
    }
}

} // namespace vimbrel
