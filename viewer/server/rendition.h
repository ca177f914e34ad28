#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vimbrel {

// A picture that no browser draws, turned into one that every browser
// draws: metafiles drawn by the tool's own player at their own size on white,
// as PNG; TIFF and HEIC/HEIF pictures, turned as their orientation says, as
// JPEG at quality 90.
struct Rendition
{
    std::string contentType;
    std::vector<uint8_t> bytes;
};

// True for the kinds of picture that get a rendition (WMF, EMF, TIF, TIFF,
// HEIC, HEIF; by the name's extension, case ignored).
bool needsRendition(const std::string& name);

// The rendition of the file content `file` named `name`; nothing when the
// picture cannot be drawn (damaged, or beyond the picture limits).
std::optional<Rendition> makeRendition(const std::string& name, std::span<const uint8_t> file);

} // namespace vimbrel
