#include "viewer/pictures/jpeg_decoder.h"

#include <algorithm>
#include <array>
#include <new>

#include "viewer/pictures/exif_orientation.h"
#include "viewer/pictures/sampling_plan.h"

namespace vimbrel {
namespace {

constexpr int kExifMarker = JPEG_APP0 + 1;
// Enough for any one picture the tool takes (a progressive 12-megapixel
// picture holds about 40 MB of coefficients), little enough that a forged
// header cannot make libjpeg reserve gigabytes.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

std::uint8_t timesOver255(int a, int b)
{
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

} // namespace

JpegDecoder::JpegDecoder()
{
    mInfo.err = installJpegErrorManager(mErrors);
    jpeg_create_decompress(&mInfo);
    mInfo.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_save_markers(&mInfo, kExifMarker, 0xFFFF);
}

JpegDecoder::~JpegDecoder()
{
    jpeg_destroy_decompress(&mInfo);
}

bool JpegDecoder::open(std::FILE* file)
{
    close();
    mSourceFile = file;
    return readHeader();
}

bool JpegDecoder::openMemory(const std::uint8_t* data, size_t size)
{
    close();
    if (size == 0) {
        return false;
    }
    mSourceFile = nullptr;
    mSourceData = data;
    mSourceSize = size;
    return readHeader();
}

bool JpegDecoder::readHeader()
{
    if (setjmp(mErrors.jump) != 0) {
        jpeg_abort_decompress(&mInfo);
        return false;
    }
    if (mSourceFile != nullptr) {
        jpeg_stdio_src(&mInfo, mSourceFile);
    } else {
        jpeg_mem_src(&mInfo, mSourceData, static_cast<unsigned long>(mSourceSize));
    }
    jpeg_read_header(&mInfo, TRUE);

    mOrientation = 1;
    for (jpeg_saved_marker_ptr marker = mInfo.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == kExifMarker) {
            mOrientation = readExifOrientation(marker->data, marker->data_length);
            break;
        }
    }
    mCmyk = mInfo.jpeg_color_space == JCS_CMYK || mInfo.jpeg_color_space == JCS_YCCK;
    // Adobe's programs store CMYK inverted (0 is full ink) and say so with
    // their APP14 marker.
    mInvertedCmyk = mCmyk && mInfo.saw_Adobe_marker;
    mInfo.out_color_space = mCmyk ? JCS_CMYK : JCS_RGB;
    mStoredWidth = static_cast<int>(mInfo.image_width);
    mStoredHeight = static_cast<int>(mInfo.image_height);
    if (std::int64_t(mStoredWidth) * mStoredHeight > kMaxPixels) {
        jpeg_abort_decompress(&mInfo);
        return false;
    }
    mOpen = true;
    return true;
}

void JpegDecoder::close()
{
    if (mOpen) {
        jpeg_abort_decompress(&mInfo);
        mOpen = false;
    }
}

bool JpegDecoder::start()
{
    if (setjmp(mErrors.jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&mInfo);
    return true;
}

bool JpegDecoder::readRows(std::uint8_t** rows, int count)
{
    while (count > 0) {
        const int read = readSomeRows(rows, count);
        if (read <= 0) {
            return false;
        }
        rows += read;
        count -= read;
    }
    return true;
}

int JpegDecoder::readSomeRows(std::uint8_t** rows, int count)
{
    if (setjmp(mErrors.jump) != 0) {
        return -1;
    }
    return static_cast<int>(jpeg_read_scanlines(&mInfo, rows, static_cast<JDIMENSION>(count)));
}

bool JpegDecoder::skipRows(int count)
{
    if (setjmp(mErrors.jump) != 0) {
        return false;
    }
    return static_cast<int>(jpeg_skip_scanlines(&mInfo, static_cast<JDIMENSION>(count))) == count;
}

bool JpegDecoder::finish()
{
    if (setjmp(mErrors.jump) != 0) {
        return false;
    }
    jpeg_finish_decompress(&mInfo);
    return true;
}

const std::uint8_t* JpegDecoder::rgbOf(const std::uint8_t* row)
{
    if (!mCmyk) {
        return row;
    }
    std::uint8_t* out = mRgbRow.data();
    for (int x = 0; x < mStoredWidth; ++x, row += 4, out += 3) {
        const int c = mInvertedCmyk ? row[0] : 255 - row[0];
        const int m = mInvertedCmyk ? row[1] : 255 - row[1];
        const int y = mInvertedCmyk ? row[2] : 255 - row[2];
        const int k = mInvertedCmyk ? row[3] : 255 - row[3];
        out[0] = timesOver255(c, k);
        out[1] = timesOver255(m, k);
        out[2] = timesOver255(y, k);
    }
    return mRgbRow.data();
}

bool JpegDecoder::decode(const SamplingPlan& plan, std::uint8_t* target, DecodeMode mode)
{
    if (!mOpen) {
        return false;
    }
    bool ok = false;
    try {
        mRow.resize(static_cast<size_t>(mStoredWidth) * (mCmyk ? 4 : 3));
        mRgbRow.resize(static_cast<size_t>(mStoredWidth) * 3);
        ok = start() &&
             (mode == DecodeMode::KeptRowsOnly ? decodeKeptRows(plan, target)
                                               : decodeWholePicture(plan, target)) &&
             finish();
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    jpeg_abort_decompress(&mInfo);
    mOpen = false;
    return ok;
}

bool JpegDecoder::decodeKeptRows(const SamplingPlan& plan, std::uint8_t* target)
{
    std::uint8_t* row = mRow.data();
    int decodedRow = -1;
    const std::uint8_t* rgb = nullptr;
    for (const SamplingPlan::Row& wanted : plan.rows()) {
        if (wanted.storedRow != decodedRow) {
            const int next = static_cast<int>(mInfo.output_scanline);
            if (wanted.storedRow > next && !skipRows(wanted.storedRow - next)) {
                return false;
            }
            if (!readRows(&row, 1)) {
                return false;
            }
            decodedRow = wanted.storedRow;
            rgb = rgbOf(row);
        }
        plan.apply(wanted, rgb, target);
    }
    // The rest is still read (entropy decoding only), so that a picture
    // damaged below its last kept row fails here as it does when decoded whole.
    const int rest = mStoredHeight - static_cast<int>(mInfo.output_scanline);
    return rest <= 0 || skipRows(rest);
}

bool JpegDecoder::decodeWholePicture(const SamplingPlan& plan, std::uint8_t* target)
{
    const size_t stride = static_cast<size_t>(mStoredWidth) * 3;
    // Kept from picture to picture, as the one picture holder of a run.
    std::vector<std::uint8_t>& picture = mPicture;
    picture.resize(stride * static_cast<size_t>(mStoredHeight));
    constexpr int kBatch = 16;
    std::array<std::uint8_t*, kBatch> rows{};
    for (int y = 0; y < mStoredHeight;) {
        if (mCmyk) {
            rows[0] = mRow.data();
            if (!readRows(rows.data(), 1)) {
                return false;
            }
            std::copy_n(rgbOf(mRow.data()), stride, picture.data() + stride * y);
            ++y;
            continue;
        }
        const int count = std::min(kBatch, mStoredHeight - y);
        for (int i = 0; i < count; ++i) {
            rows[static_cast<size_t>(i)] = picture.data() + stride * static_cast<size_t>(y + i);
        }
        if (!readRows(rows.data(), count)) {
            return false;
        }
        y += count;
    }
    for (const SamplingPlan::Row& wanted : plan.rows()) {
        plan.apply(wanted, picture.data() + stride * static_cast<size_t>(wanted.storedRow), target);
    }
    return true;
}

} // namespace vimbrel
