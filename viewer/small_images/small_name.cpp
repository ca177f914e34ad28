#include "viewer/small_images/small_name.h"

namespace vimbrel {

std::string SmallName(std::string_view imageName)
{
    // In UTF-8 no byte of a multi-byte character is an ASCII ".", "\", "/" or
    // ":", so a plain byte search is safe.
    const size_t dot = imageName.rfind('.');
    const size_t stop = imageName.find_last_of("\\/:");
    std::string name(imageName);
    if (dot != std::string_view::npos && (stop == std::string_view::npos || dot > stop)) {
        name.resize(dot);
    }
    return name + ".jpg";
}

} // namespace vimbrel
