#pragma once

#include <string>
#include <string_view>

namespace vimbrel {

// The file name of a picture's small image: the text from the last "." that
// follows the last "\", "/" and ":" of the name is replaced by ".jpg"; a name
// without such a "." gets ".jpg" appended. a.JPG gives a.jpg, x.y.bmp gives
// x.y.jpg, README gives README.jpg.
std::string SmallName(std::string_view imageName);

} // namespace vimbrel
