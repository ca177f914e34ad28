#include "viewer/pictures/picture_loader.h"

#include "platform/byte_text.h"
#include "platform/whole_file.h"
#include "viewer/pictures/dib_decoder.h"
#include "viewer/pictures/raster_decoders.h"
#include "viewer/pictures/sampling_plan.h"

namespace vimbrel {
namespace {

// Bitmaps larger than this are beyond what Qt decodes by default anyway.
constexpr size_t kMaxRasterFileSize = size_t(1) << 30;

// Bitmaps go through the one DIB decoder of the tool, which the metafile
// player uses too; icons through the platform's reader.
Raster decodeRaster(std::span<const std::uint8_t> file, PictureFormat format)
{
    return format == PictureFormat::Icon ? decodeIconFile(file) : onWhite(dib::decodeFile(file));
}

} // namespace

PictureFormat pictureFormatOf(std::string_view fileName)
{
    const size_t dot = fileName.rfind('.');
    const size_t stop = fileName.find_last_of("\\/:");
    if (dot == std::string_view::npos || (stop != std::string_view::npos && stop > dot)) {
        return PictureFormat::None;
    }
    const std::string extension = text::toUpperAscii(std::string(fileName.substr(dot + 1)));
    if (extension == "JPG" || extension == "JPEG") {
        return PictureFormat::Jpeg;
    }
    if (extension == "BMP") {
        return PictureFormat::Bitmap;
    }
    if (extension == "ICO") {
        return PictureFormat::Icon;
    }
    if (extension == "WMF" || extension == "EMF") {
        return PictureFormat::Metafile;
    }
    return PictureFormat::None;
}

PictureLoader::~PictureLoader()
{
    close();
}

void PictureLoader::close()
{
    mJpeg.close();
    if (mFile != nullptr) {
        std::fclose(mFile);
        mFile = nullptr;
    }
    mRaster = Raster();
    mIsJpeg = false;
    mWidth = 0;
    mHeight = 0;
}

bool PictureLoader::open(const std::string& path)
{
    DrawBudget budget;
    return open(path, budget);
}

bool PictureLoader::open(const std::string& path, DrawBudget& budget)
{
    close();
    const PictureFormat format = pictureFormatOf(path);
    if (format == PictureFormat::None) {
        return false;
    }
    if (format == PictureFormat::Metafile) {
        return mDrawMetafile != nullptr && openRaster(mDrawMetafile(path, budget));
    }
    if (format == PictureFormat::Jpeg) {
        std::FILE* file = openPlainStream(path);
        return file != nullptr && openJpeg(file);
    }
    const WholeFile whole = readWholeFile(path, kMaxRasterFileSize);
    if (whole.state != WholeFile::State::Read) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(whole.bytes.data());
    return openRaster(decodeRaster(std::span(bytes, whole.bytes.size()), format));
}

bool PictureLoader::openData(const std::uint8_t* data, size_t size, PictureFormat format)
{
    close();
    switch (format) {
    case PictureFormat::Jpeg:
        return mJpeg.openMemory(data, size) && openedJpeg();
    case PictureFormat::Bitmap:
    case PictureFormat::Icon:
        return openRaster(decodeRaster(std::span(data, size), format));
    case PictureFormat::Metafile:
    case PictureFormat::None:
        break;
    }
    return false;
}

bool PictureLoader::openJpeg(std::FILE* file)
{
    mFile = file;
    if (!mJpeg.open(file)) {
        close();
        return false;
    }
    return openedJpeg();
}

bool PictureLoader::openedJpeg()
{
    mIsJpeg = true;
    const bool swap = orientationSwapsSides(mJpeg.orientation());
    mWidth = swap ? mJpeg.storedHeight() : mJpeg.storedWidth();
    mHeight = swap ? mJpeg.storedWidth() : mJpeg.storedHeight();
    return true;
}

bool PictureLoader::openRaster(Raster raster)
{
    if (raster.isNull() || raster.format != Raster::Format::Rgb888) {
        return false;
    }
    mRaster = std::move(raster);
    mWidth = mRaster.width;
    mHeight = mRaster.height;
    return true;
}

bool PictureLoader::sample(int targetWidth, int targetHeight, std::uint8_t* target, DecodeMode mode)
{
    if (mWidth <= 0 || mHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        close();
        return false;
    }
    bool ok = true;
    if (mIsJpeg) {
        const SamplingPlan plan(mJpeg.storedWidth(), mJpeg.storedHeight(), mJpeg.orientation(),
                                targetWidth, targetHeight);
        ok = mJpeg.decode(plan, target, mode);
    } else {
        const SamplingPlan plan(mWidth, mHeight, 1, targetWidth, targetHeight);
        for (const SamplingPlan::Row& row : plan.rows()) {
            plan.apply(row, mRaster.row(row.storedRow), target);
        }
    }
    close();
    return ok;
}

} // namespace vimbrel
