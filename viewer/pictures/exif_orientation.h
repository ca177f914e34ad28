#pragma once

#include <cstddef>

namespace vimbrel {

// The EXIF orientation (1-8) in the payload of a JPEG APP1 segment (starting
// with "Exif\0\0"); 1 (as stored) when there is none or it is out of range.
int readExifOrientation(const unsigned char* data, size_t size);

} // namespace vimbrel
