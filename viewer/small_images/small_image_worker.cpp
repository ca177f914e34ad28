#include "viewer/small_images/small_image_worker.h"

#include "viewer/small_images/metafile_drawer.h"
#include "viewer/small_images/small_file_writer.h"

namespace vimbrel {

int smallHeightFor(int width, int height)
{
    if (width <= kSmallWidth || height <= 0) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(height) * kSmallWidth / width);
}

SmallImageWorker::SmallImageWorker(DecodeMode mode) : mLoader(platformMetafileDrawer()), mMode(mode)
{
}

bool SmallImageWorker::encodeOpened(std::vector<std::uint8_t>& bytes)
{
    const int height = smallHeightFor(mLoader.width(), mLoader.height());
    // A small image 0 or 1 row high (a picture more than 50 times as wide as
    // high) would show nothing useful; the page shows the picture itself.
    if (height < 2) {
        mLoader.close();
        return false;
    }
    mPixels.resize(static_cast<size_t>(kSmallWidth) * static_cast<size_t>(height) * 3);
    return mLoader.sample(kSmallWidth, height, mPixels.data(), mMode) &&
           mEncoder.encode(mPixels.data(), kSmallWidth, height, bytes);
}

bool SmallImageWorker::make(const std::string& picturePath, const std::string& folder,
                            const std::string& smallName, DrawBudget& budget)
{
    return mLoader.open(picturePath, budget) && encodeOpened(mBytes) &&
           writeSmallFile(folder, smallName, mBytes);
}

} // namespace vimbrel
