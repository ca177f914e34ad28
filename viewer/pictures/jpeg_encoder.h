#pragma once

#include <cstdint>
#include <vector>

#include "viewer/pictures/jpeg_error.h"

namespace vimbrel {

// Writes small images: baseline JFIF, YCbCr with 2x2 chroma sampling,
// quality 90 with baseline tables, standard Huffman tables, no restart
// markers, the floating-point forward DCT. One encoder serves any number of
// pictures, one after the other.
class JpegEncoder
{
public:
    JpegEncoder();
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    // Encodes `width` x `height` pixels of 3 bytes (R, G, B) into `out`,
    // replacing its content. False when libjpeg refuses.
    bool encode(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& out);

private:
    jpeg_compress_struct mInfo{};
    JpegErrorManager mErrors{};
};

} // namespace vimbrel
