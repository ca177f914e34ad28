#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "viewer/pictures/jpeg_error.h"

namespace vimbrel {

class SamplingPlan;

// How a picture is decoded for its small image. Both give the same pixels.
enum class DecodeMode
{
    // Every row at full size into one whole picture, then the kept pixels are
    // taken from it.
    WholePicture,
    // Only the rows the small image keeps are decoded; the others are skipped
    // without the inverse DCT, and no whole picture is ever held.
    KeptRowsOnly,
};

// Decodes JPEG pictures at full size and full colour (greyscale, YCbCr, RGB,
// CMYK and YCCK all end as RGB). One decoder serves any number of pictures,
// one after the other.
class JpegDecoder
{
public:
    // Pictures with more pixels than this fail rather than take gigabytes.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads the header and EXIF orientation of the JPEG in `file`, which must
    // stay open until decode() or close(). False when it is no readable JPEG.
    bool open(std::FILE* file);
    // The same for a JPEG held in memory, which must stay until decode() or close().
    bool openMemory(const std::uint8_t* data, size_t size);

    // The picture as stored, and the EXIF orientation to show it by (1-8).
    int storedWidth() const { return mStoredWidth; }
    int storedHeight() const { return mStoredHeight; }
    int orientation() const { return mOrientation; }

    // Decodes the opened picture and fills `target` (3 bytes per pixel, plan
    // size) with the pixels the plan keeps. Reads the picture to its end, so
    // that damage anywhere in it fails. Closes the picture either way.
    bool decode(const SamplingPlan& plan, std::uint8_t* target, DecodeMode mode);

    // Abandons an opened picture.
    void close();

private:
    // Reads the header from the source open() or openMemory() set.
    [[gnu::noinline]] bool readHeader();
    bool start();
    bool readRows(std::uint8_t** rows, int count);
    // -1 on error. Kept out of line so that its setjmp never lands in the
    // caller's loop, whose variables a longjmp could otherwise clobber.
    [[gnu::noinline]] int readSomeRows(std::uint8_t** rows, int count);
    bool skipRows(int count);
    bool finish();
    bool decodeKeptRows(const SamplingPlan& plan, std::uint8_t* target);
    bool decodeWholePicture(const SamplingPlan& plan, std::uint8_t* target);
    // The decoded row as RGB: CMYK rows are converted into mRgbRow.
    const std::uint8_t* rgbOf(const std::uint8_t* row);

    std::FILE* mSourceFile = nullptr;
    const std::uint8_t* mSourceData = nullptr;
    size_t mSourceSize = 0;
    jpeg_decompress_struct mInfo{};
    JpegErrorManager mErrors{};
    bool mOpen = false;
    bool mCmyk = false;
    bool mInvertedCmyk = false;
    int mStoredWidth = 0;
    int mStoredHeight = 0;
    int mOrientation = 1;
    std::vector<std::uint8_t> mRow;     // one decoded row
    std::vector<std::uint8_t> mRgbRow;  // one CMYK row turned RGB
    std::vector<std::uint8_t> mPicture; // the whole picture, in WholePicture mode
};

} // namespace vimbrel
