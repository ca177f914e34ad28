#pragma once

#include <cstdint>
#include <optional>
#include <variant>

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRegion>
#include <QString>

namespace vimbrel {

// The drawing objects a metafile creates, kept in the terms of the records
// that create them and turned into Qt objects when something is drawn.

struct GdiBrush
{
    uint32_t style = 0; // BS_SOLID
    QColor colour = Qt::white;
    uint32_t hatch = 0;
    QImage pattern; // for pattern brushes
    // A pattern of one bit a pixel, drawn in the text colour (0 bits) and
    // the background colour (1 bits) of the moment it is used.
    bool monochrome = false;
};

struct GdiPen
{
    uint32_t style = 0; // PS_* style, end cap, join and type bits
    double width = 0;   // in logical units; 0 draws one pixel wide
    QColor colour = Qt::black;
    // An extended pen made with a hatch or a bitmap paints with it.
    std::optional<GdiBrush> brush;
};

struct GdiFont
{
    int32_t height = 0; // < 0: character height, > 0: cell height, 0: default
    int32_t width = 0;
    int32_t escapement = 0; // tenths of a degree, counter-clockwise
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charset = 0;
    // The pitch in the low bits, the family (roman, swiss, modern, script,
    // decorative) in bits 4 to 7: what a face not on this system falls back to.
    uint8_t pitchAndFamily = 0;
    QString face;
};

// A region created by a record, in the logical units it was given in.
struct GdiRegion
{
    QRegion region;
};

// A palette: it occupies a slot of the object table but draws nothing.
struct GdiPalette
{
};

using GdiObject = std::variant<GdiPen, GdiBrush, GdiFont, GdiRegion, GdiPalette>;

namespace gdi {

constexpr uint32_t kPenNull = 5;
constexpr uint32_t kBrushSolid = 0;
constexpr uint32_t kBrushNull = 1;
constexpr uint32_t kBrushHatched = 2;
constexpr uint32_t kBrushPattern = 3;
constexpr uint32_t kBrushDibPattern = 5;
constexpr uint32_t kBrushDibPatternPt = 6;

// The object a stock-object number stands for (EMF selects them by number),
// or nothing for numbers without one.
std::optional<GdiObject> stockObject(uint32_t number);

// A COLORREF (red in the low byte).
QColor colourFromRef(uint32_t ref);

bool drawsNothing(const GdiPen& pen);
bool fillsNothing(const GdiBrush& brush);

// The Qt pen for `pen` when its logical width becomes `pixelWidth` pixels.
QPen toQPen(const GdiPen& pen, double pixelWidth);

// The Qt brush for `brush`; hatches keep the background colour of the state
// out of it (the canvas fills that first where the background is opaque).
QBrush toQBrush(const GdiBrush& brush);

} // namespace gdi
} // namespace vimbrel
