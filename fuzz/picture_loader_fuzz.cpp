// Feeds arbitrary bytes to the picture loaders as a JPEG, a bitmap or an
// icon (chosen by the first byte) and makes the small image of whatever
// loads, with both decode modes, which must agree pixel for pixel.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "viewer/pictures/picture_loader.h"
#include "viewer/small_images/small_image_worker.h"

using namespace vimbrel;

namespace {

// Above this the whole-picture decode is skipped, to keep runs quick.
constexpr std::int64_t kMaxComparedPixels = 4'000'000;

bool sampleWith(PictureLoader& loader, const std::uint8_t* data, size_t size, PictureFormat format,
                int height, DecodeMode mode, std::vector<std::uint8_t>& pixels)
{
    if (!loader.openData(data, size, format)) {
        return false;
    }
    pixels.assign(static_cast<size_t>(kSmallWidth) * static_cast<size_t>(height) * 3, 0);
    return loader.sample(kSmallWidth, height, pixels.data(), mode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    const PictureFormat formats[] = {PictureFormat::Jpeg, PictureFormat::Bitmap,
                                     PictureFormat::Icon};
    const PictureFormat format = formats[data[0] % 3];
    ++data;
    --size;

    static SmallImageWorker worker;
    PictureLoader& loader = worker.loader();
    if (!loader.openData(data, size, format)) {
        return 0;
    }
    const int width = loader.width();
    const int height = smallHeightFor(width, loader.height());
    const std::int64_t pixelCount = std::int64_t(width) * loader.height();
    std::vector<std::uint8_t> bytes;
    worker.encodeOpened(bytes);
    if (height < 2 || pixelCount > kMaxComparedPixels) {
        return 0;
    }
    std::vector<std::uint8_t> kept;
    std::vector<std::uint8_t> whole;
    const bool keptOk =
        sampleWith(loader, data, size, format, height, DecodeMode::KeptRowsOnly, kept);
    const bool wholeOk =
        sampleWith(loader, data, size, format, height, DecodeMode::WholePicture, whole);
    if (keptOk != wholeOk || (keptOk && kept != whole)) {
        std::abort(); // the two decode modes disagree
    }
    return 0;
}
