#include "viewer/picture_loader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include <QByteArray>

#include "platform/byte_text.h"
#include "viewer/metafile_picture.h"
#include "viewer/raster_picture.h"
#include "viewer/sampling_plan.h"

namespace vimbrel {
namespace {

// Bitmaps larger than this are beyond what Qt decodes by default anyway.
constexpr qint64 kMaxRasterFileSize = qint64(1) << 30;

// Opens a plain file for reading; -1 for folders, pipes and devices, which
// could block or never end.
int openPlainFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool readWhole(int fd, QByteArray& content)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || info.st_size > kMaxRasterFileSize) {
        return false;
    }
    content.resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t read = ::read(fd, content.data() + done, size_t(content.size() - done));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            return false;
        }
        done += read;
    }
    return true;
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
    mRaster = QImage();
    mIsJpeg = false;
    mWidth = 0;
    mHeight = 0;
}

bool PictureLoader::open(const std::string& path)
{
    close();
    const PictureFormat format = pictureFormatOf(path);
    if (format == PictureFormat::None) {
        return false;
    }
    if (format == PictureFormat::Metafile) {
        // Metafiles may draw text, and font lookup is the one part of the
        // drawing that is not meant to run in several threads at once.
        static std::mutex metafileMutex;
        const std::lock_guard lock(metafileMutex);
        return openRaster(onWhite(loadMetafilePicture(path)));
    }
    const int fd = openPlainFile(path);
    if (fd < 0) {
        return false;
    }
    if (format == PictureFormat::Jpeg) {
        std::FILE* file = ::fdopen(fd, "rb");
        if (file == nullptr) {
            ::close(fd);
            return false;
        }
        return openJpeg(file);
    }
    QByteArray content;
    const bool read = readWhole(fd, content);
    ::close(fd);
    return read &&
           openRaster(decodeRasterPicture(
               content, format == PictureFormat::Icon ? RasterFormat::Icon : RasterFormat::Bitmap));
}

bool PictureLoader::openData(const std::uint8_t* data, size_t size, PictureFormat format)
{
    close();
    switch (format) {
    case PictureFormat::Jpeg: {
        if (size == 0) {
            return false;
        }
        std::FILE* file = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
        return file != nullptr && openJpeg(file);
    }
    case PictureFormat::Bitmap:
    case PictureFormat::Icon: {
        const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                           static_cast<qsizetype>(size));
        return openRaster(decodeRasterPicture(
            content, format == PictureFormat::Icon ? RasterFormat::Icon : RasterFormat::Bitmap));
    }
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
    mIsJpeg = true;
    const bool swap = orientationSwapsSides(mJpeg.orientation());
    mWidth = swap ? mJpeg.storedHeight() : mJpeg.storedWidth();
    mHeight = swap ? mJpeg.storedWidth() : mJpeg.storedHeight();
    return true;
}

bool PictureLoader::openRaster(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB888) {
        return false;
    }
    mRaster = image;
    mWidth = image.width();
    mHeight = image.height();
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
            plan.apply(row, mRaster.constScanLine(row.storedRow), target);
        }
    }
    close();
    return ok;
}

} // namespace vimbrel
