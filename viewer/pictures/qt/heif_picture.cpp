#include "viewer/pictures/qt/heif_picture.h"

#include <libheif/heif.h>

#include <memory>

#include "viewer/pictures/picture_limits.h"

namespace vimbrel {
namespace {

template <typename T, void (*Free)(T*)> struct HeifFree
{
    void operator()(T* object) const { Free(object); }
};

using Context = std::unique_ptr<heif_context, HeifFree<heif_context, heif_context_free>>;
using Handle = std::unique_ptr<heif_image_handle,
                               HeifFree<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, HeifFree<const heif_image, heif_image_release>>;

} // namespace

QImage decodeHeif(std::span<const uint8_t> file)
{
    Context context(heif_context_alloc());
    if (!context ||
        heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr)
                .code != heif_error_Ok) {
        return {};
    }
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) {
        return {};
    }
    const Handle handle(primary);
    // Sides as stored, before turning; refused before anything is decoded.
    if (!picture_limits::fits(heif_image_handle_get_width(handle.get()),
                              heif_image_handle_get_height(handle.get()))) {
        return {};
    }
    heif_image* decoded = nullptr;
    // The default options apply the file's rotation and mirroring.
    if (heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr)
            .code != heif_error_Ok) {
        return {};
    }
    const Image image(decoded);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (pixels == nullptr || !picture_limits::fits(width, height)) {
        return {};
    }
    QImage picture(width, height, QImage::Format_RGB888);
    if (picture.isNull()) {
        return {};
    }
    for (int y = 0; y < height; ++y) {
        std::copy_n(pixels + static_cast<ptrdiff_t>(y) * stride, size_t(width) * 3,
                    picture.scanLine(y));
    }
    return picture;
}

} // namespace vimbrel
