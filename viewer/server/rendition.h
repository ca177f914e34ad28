#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "viewer/pictures/draw_budget.h"

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

// What came of asking for a picture's rendition.
struct RenditionResult
{
    enum class Kind
    {
        Drawn,
        CannotBeDrawn, // damaged, or beyond the picture limits
        TooMuchWork,   // drawing it went beyond its budget
        Stopped,       // the server stopped before it was drawn
        Busy,          // too many requests waited for drawings already
    };
    Kind kind = Kind::CannotBeDrawn;
    std::shared_ptr<const Rendition> rendition; // when drawn
};

// True for the kinds of picture that get a rendition (WMF, EMF, TIF, TIFF,
// HEIC, HEIF; by the name's extension, case ignored).
bool needsRendition(const std::string& name);

// The rendition of the file content `file` named `name`; nothing when the
// picture cannot be drawn (damaged, or beyond the picture limits) and when
// drawing it goes beyond `budget`, whose state() then tells.
std::optional<Rendition> makeRendition(const std::string& name, std::span<const uint8_t> file,
                                       DrawBudget& budget);

} // namespace vimbrel
