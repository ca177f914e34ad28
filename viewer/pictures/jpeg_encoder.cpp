#include "viewer/pictures/jpeg_encoder.h"

#include <algorithm>
#include <new>

#include <jerror.h>

namespace vimbrel {
namespace {

// A libjpeg destination that appends to a byte vector.
struct VectorDestination
{
    jpeg_destination_mgr manager;
    std::vector<std::uint8_t>* out;
};

constexpr size_t kFirstSize = 16 * 1024;

VectorDestination& destinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<VectorDestination*>(cinfo->dest);
}

void grow(j_compress_ptr cinfo, size_t used)
{
    VectorDestination& destination = destinationOf(cinfo);
    try {
        destination.out->resize(std::max(kFirstSize, destination.out->size() * 2));
    } catch (const std::bad_alloc&) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
    destination.manager.next_output_byte = destination.out->data() + used;
    destination.manager.free_in_buffer = destination.out->size() - used;
}

void initDestination(j_compress_ptr cinfo)
{
    destinationOf(cinfo).out->clear();
    grow(cinfo, 0);
}

boolean emptyBuffer(j_compress_ptr cinfo)
{
    // libjpeg calls this only when the whole buffer is full.
    grow(cinfo, destinationOf(cinfo).out->size());
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    VectorDestination& destination = destinationOf(cinfo);
    destination.out->resize(destination.out->size() - destination.manager.free_in_buffer);
}

} // namespace

JpegEncoder::JpegEncoder()
{
    mInfo.err = installJpegErrorManager(mErrors);
    jpeg_create_compress(&mInfo);
}

JpegEncoder::~JpegEncoder()
{
    jpeg_destroy_compress(&mInfo);
}

bool JpegEncoder::encode(const std::uint8_t* rgb, int width, int height,
                         std::vector<std::uint8_t>& out)
{
    VectorDestination destination{{}, &out};
    destination.manager.init_destination = initDestination;
    destination.manager.empty_output_buffer = emptyBuffer;
    destination.manager.term_destination = termDestination;
    if (setjmp(mErrors.jump) != 0) {
        jpeg_abort_compress(&mInfo);
        mInfo.dest = nullptr;
        out.clear();
        return false;
    }
    mInfo.dest = &destination.manager;
    mInfo.image_width = static_cast<JDIMENSION>(width);
    mInfo.image_height = static_cast<JDIMENSION>(height);
    mInfo.input_components = 3;
    mInfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&mInfo);
    jpeg_set_quality(&mInfo, 90, TRUE);
    // Chosen after the defaults, which would reset it.
    mInfo.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&mInfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * 3;
    while (mInfo.next_scanline < mInfo.image_height) {
        // libjpeg only reads the rows; its interface is not const-correct.
        JSAMPROW row = const_cast<JSAMPROW>(rgb + stride * mInfo.next_scanline);
        jpeg_write_scanlines(&mInfo, &row, 1);
    }
    jpeg_finish_compress(&mInfo);
    mInfo.dest = nullptr;
    return true;
}

} // namespace vimbrel
