#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "viewer/pictures/draw_budget.h"
#include "viewer/pictures/jpeg_decoder.h"
#include "viewer/pictures/raster.h"

namespace vimbrel {

// The picture formats that load, by the file name's extension (case ignored).
enum class PictureFormat
{
    Jpeg,     // jpg, jpeg
    Bitmap,   // bmp
    Icon,     // ico
    Metafile, // wmf, emf
    None,     // anything else, gif included: cannot be loaded
};

PictureFormat pictureFormatOf(std::string_view fileName);

// Draws the metafile at `path` at its own size on white, as RGB888; a null
// raster when it cannot, also when the drawing goes beyond `budget`. The
// metafile player lies above the decoders (it draws the bitmaps they
// decode), so whoever wants metafiles loaded hands its drawing in.
using MetafileDrawer = Raster (*)(const std::string& path, DrawBudget& budget);

// Loads one picture at a time and hands out the pixels of its small image.
// JPEG pictures are read with libjpeg as they are needed; bitmaps and icons
// are decoded whole (icons by the platform's reader, raster_decoders.h), and
// metafiles drawn whole. Sizes are those of the picture as it is shown,
// i.e. after its EXIF orientation.
class PictureLoader
{
public:
    // Without a drawer, metafiles do not load.
    explicit PictureLoader(MetafileDrawer drawMetafile = nullptr) : mDrawMetafile(drawMetafile) {}
    ~PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Opens the picture file `path` (a plain file) in the format its name
    // gives. False when it cannot be loaded. A metafile is drawn within
    // `budget`; the other formats are bounded by the picture limits.
    bool open(const std::string& path, DrawBudget& budget);
    bool open(const std::string& path);
    // The same for a picture held in memory; `data` must outlive the picture.
    bool openData(const std::uint8_t* data, size_t size, PictureFormat format);

    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // Fills `target` (targetWidth x targetHeight, 3 bytes per pixel) with the
    // pixels the scale keeps, and closes the picture. False when the picture
    // turns out damaged.
    bool sample(int targetWidth, int targetHeight, std::uint8_t* target, DecodeMode mode);

    void close();

private:
    bool openJpeg(std::FILE* file);
    bool openedJpeg();
    bool openRaster(Raster raster);

    MetafileDrawer mDrawMetafile;
    JpegDecoder mJpeg;
    std::FILE* mFile = nullptr;
    Raster mRaster; // RGB888, when the picture is no JPEG
    bool mIsJpeg = false;
    int mWidth = 0;
    int mHeight = 0;
};

} // namespace vimbrel
