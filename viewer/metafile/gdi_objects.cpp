#include "viewer/metafile/gdi_objects.h"

#include <algorithm>

namespace vimbrel::gdi {
namespace {

constexpr uint32_t kPenStyleMask = 0x0000000f;
constexpr uint32_t kPenEndCapMask = 0x00000f00;
constexpr uint32_t kPenJoinMask = 0x0000f000;

Qt::PenStyle penLine(uint32_t style)
{
    switch (style & kPenStyleMask) {
    case 1:
        return Qt::DashLine;
    case 2:
    case 8: // alternate
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case kPenNull:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle hatchOf(uint32_t hatch)
{
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

GdiFont stockFont(bool fixed)
{
    GdiFont font;
    font.height = 16;
    font.weight = 400;
    font.face = fixed ? QStringLiteral("Monospace") : QStringLiteral("Sans Serif");
    return font;
}

} // namespace

std::optional<GdiObject> stockObject(uint32_t number)
{
    auto brush = [](QColor colour, uint32_t style = kBrushSolid) {
        return GdiObject(GdiBrush{style, colour, 0, {}});
    };
    auto pen = [](QColor colour, uint32_t style = 0) {
        return GdiObject(GdiPen{style, 0, colour});
    };
    switch (number) {
    case 0:
        return brush(Qt::white);
    case 1:
        return brush(QColor(192, 192, 192));
    case 2:
        return brush(QColor(128, 128, 128));
    case 3:
        return brush(QColor(64, 64, 64));
    case 4:
        return brush(Qt::black);
    case 5:
        return brush(Qt::black, kBrushNull);
    case 6:
        return pen(Qt::white);
    case 7:
        return pen(Qt::black);
    case 8:
        return pen(Qt::black, kPenNull);
    case 10:
    case 11:
    case 16:
        return GdiObject(stockFont(true));
    case 12:
    case 13:
    case 14:
    case 17:
        return GdiObject(stockFont(false));
    case 15:
        return GdiObject(GdiPalette{});
    case 18: // the device context's own brush and pen: white and black
        return brush(Qt::white);
    case 19:
        return pen(Qt::black);
    default:
        return std::nullopt;
    }
}

QColor colourFromRef(uint32_t ref)
{
    return QColor(static_cast<int>(ref & 0xff), static_cast<int>((ref >> 8) & 0xff),
                  static_cast<int>((ref >> 16) & 0xff));
}

bool drawsNothing(const GdiPen& pen)
{
    return (pen.style & kPenStyleMask) == kPenNull;
}

bool fillsNothing(const GdiBrush& brush)
{
    return brush.style == kBrushNull ||
           ((brush.style == kBrushPattern || brush.style == 5 || brush.style == 6) &&
            brush.pattern.isNull());
}

QPen toQPen(const GdiPen& pen, double pixelWidth)
{
    // Thin pens are drawn one pixel wide, as the device does with cosmetic pens.
    const double width = std::clamp(pixelWidth, 1.0, 10000.0);
    QPen result(pen.colour, width, penLine(pen.style));
    if (width <= 1.5) {
        result.setCapStyle(Qt::FlatCap);
        result.setJoinStyle(Qt::MiterJoin);
        return result;
    }
    switch (pen.style & kPenEndCapMask) {
    case 0x100:
        result.setCapStyle(Qt::SquareCap);
        break;
    case 0x200:
        result.setCapStyle(Qt::FlatCap);
        break;
    default:
        result.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (pen.style & kPenJoinMask) {
    case 0x1000:
        result.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        result.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        result.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return result;
}

QBrush toQBrush(const GdiBrush& brush)
{
    if (fillsNothing(brush)) {
        return Qt::NoBrush;
    }
    if (brush.style == kBrushHatched) {
        return QBrush(brush.colour, hatchOf(brush.hatch));
    }
    if (!brush.pattern.isNull()) {
        return QBrush(brush.pattern);
    }
    return QBrush(brush.colour);
}

} // namespace vimbrel::gdi
