#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vimbrel {

// Writes a small image file as a whole: the bytes go to a hidden file beside
// it, which then replaces `folder` + `name` in one rename. On any failure the
// hidden file is removed and an earlier file of that name stays as it was, so
// no half-written small image is ever left. True on success.
bool writeSmallFile(const std::string& folder, const std::string& name,
                    const std::vector<std::uint8_t>& bytes);

} // namespace vimbrel
