#pragma once

#include <cstdint>
#include <vector>

namespace vimbrel {

// Which stored pixel each pixel of a small image takes. The scale keeps whole
// source pixels and drops the rest (no averaging): target column x takes the
// displayed column floor((x + 1/2) * W / w), target row y the displayed row
// floor((y + 1/2) * H / h), i.e. the source pixel under the centre of the
// target pixel. The displayed picture is the stored one turned by its EXIF
// orientation (1-8), so the plan maps straight to stored rows and columns and
// the stored picture never has to be turned as a whole.
//
// A stored row feeds either one target row (orientations 1-4) or one target
// column (5-8); in both cases the same list of stored columns serves every
// row, so the plan is a short list of rows plus one column list.
class SamplingPlan
{
public:
    struct Row
    {
        int storedRow;   // ascending over the plan
        int targetStart; // index of the first target pixel this row fills
        int targetStep;  // distance between the target pixels it fills
    };

    // `storedWidth` x `storedHeight` is the picture as stored; the target is
    // `targetWidth` x `targetHeight` of the picture as displayed. Both target
    // sides must be at least 1.
    SamplingPlan(int storedWidth, int storedHeight, int orientation, int targetWidth,
                 int targetHeight);

    const std::vector<Row>& rows() const { return mRows; }
    int targetWidth() const { return mTargetWidth; }
    int targetHeight() const { return mTargetHeight; }

    // Copies the pixels that `row` supplies from one stored row (3 bytes per
    // pixel) into `target` (targetWidth x targetHeight, 3 bytes per pixel).
    void apply(const Row& row, const std::uint8_t* storedRow, std::uint8_t* target) const;

private:
    std::vector<Row> mRows;
    std::vector<int> mColumnOffsets; // byte offsets into a stored row
    int mTargetWidth;
    int mTargetHeight;
};

// The side of a picture as displayed: orientations 5-8 exchange width and height.
bool orientationSwapsSides(int orientation);

// The displayed index kept for target index `i` of `target` out of `source`.
int keptSourceIndex(int i, int target, int source);

} // namespace vimbrel
