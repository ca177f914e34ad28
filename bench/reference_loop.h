#pragma once

#include <string>

namespace vimbrel::bench {

// The small images of every .jpg/.jpeg in `photos` (case ignored), written
// into `out` as the picture's name with the extension ".jpg", by a loop that shares no code with
// the tool: libjpeg's calls only, each picture decoded whole, the pixel under the centre of each
// target pixel kept, and the result encoded as the tool's small images are specified (100 pixels
// wide, the height rounded down, none for pictures 100 pixels wide or narrower or less than 2 rows
// high, quality 90, floating-point DCT). The benchmark checks the tool's small images against these
// byte for byte. Returns the number of files written, or -1 on an error.
int writeReferenceSmallImages(const std::string& photos, const std::string& out);

} // namespace vimbrel::bench
