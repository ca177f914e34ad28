#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewer/pictures/jpeg_encoder.h"
#include "viewer/pictures/picture_loader.h"

namespace vimbrel {

// Every small image is this wide.
constexpr int kSmallWidth = 100;

// The height of the small image of a picture shown `width` x `height`:
// height x 100 / width with the remainder dropped; 0 when the picture is not
// wider than 100 pixels and so gets none.
int smallHeightFor(int width, int height);

// Makes small images one after the other, reusing one picture loader, one
// JPEG encoder and its buffers for all of them.
class SmallImageWorker
{
public:
    // Metafiles are drawn with the metafile player.
    explicit SmallImageWorker(DecodeMode mode = DecodeMode::KeptRowsOnly);

    // Makes the small image of the picture file `picturePath` and writes it
    // as `folder` + `smallName`. True when it was written; false when the
    // picture cannot be loaded, is damaged, is too narrow or too flat for a
    // small image, or the file cannot be written, and when drawing a
    // metafile goes beyond `budget` (its state() tells). Nothing is left
    // behind on failure.
    bool make(const std::string& picturePath, const std::string& folder,
              const std::string& smallName, DrawBudget& budget);

    // The JPEG bytes of the small image of the picture the loader has opened;
    // false where make() would fail before writing. Closes the picture.
    bool encodeOpened(std::vector<std::uint8_t>& bytes);

    PictureLoader& loader() { return mLoader; }

private:
    PictureLoader mLoader;
    JpegEncoder mEncoder;
    std::vector<std::uint8_t> mPixels;
    std::vector<std::uint8_t> mBytes;
    DecodeMode mMode;
};

} // namespace vimbrel
