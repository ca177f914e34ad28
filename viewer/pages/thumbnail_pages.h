#pragma once

#include <cstddef>

namespace vimbrel {

// Pictures on one page of the thumbnail window: 4 rows of 6.
inline constexpr size_t kThumbnailsPerPage = 24;

// The number of thumbnail pages for `pictures` pictures, rounded up.
inline size_t thumbnailPageCount(size_t pictures)
{
    return (pictures + kThumbnailsPerPage - 1) / kThumbnailsPerPage;
}

} // namespace vimbrel
