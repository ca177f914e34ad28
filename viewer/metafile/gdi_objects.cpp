#include "viewer/metafile/gdi_objects.h"

#include <algorithm>

namespace vimbrel::gdi {
namespace {

constexpr uint32_t kPenStyleMask = 0x0000000f;
constexpr uint32_t kPenEndCapMask = 0x00000f00;
constexpr uint32_t kPenJoinMask = 0x0000f000;

constexpr uint32_t kPenGeometric = 0x00010000;

// The dashes of a pen as the device draws them, in pen widths: one-pixel
// (cosmetic) pens in pixels of their own pattern, geometric pens in a
// pattern of widths. Empty for a solid line.
QList<qreal> dashesOf(uint32_t style)
{
    const bool geometric = (style & kPenGeometric) != 0;
    switch (style & kPenStyleMask) {
    case 1: // dash
        return geometric ? QList<qreal>{3, 1} : QList<qreal>{18, 6};
    case 2: // dot
        return geometric ? QList<qreal>{1, 1} : QList<qreal>{3, 3};
    case 3: // dash dot
        return geometric ? QList<qreal>{3, 1, 1, 1} : QList<qreal>{9, 6, 3, 6};
    case 4: // dash dot dot
        return geometric ? QList<qreal>{3, 1, 1, 1, 1, 1} : QList<qreal>{9, 3, 3, 3, 3, 3};
    case 8: // alternate: every other pixel
        return {1, 1};
    default:
        return {};
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
        return GdiObject(GdiBrush{style, colour, 0, {}, false});
    };
    auto pen = [](QColor colour, uint32_t style = 0) {
        return GdiObject(GdiPen{style, 0, colour, std::nullopt});
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
    QPen result(pen.colour, width,
                (pen.style & kPenStyleMask) == kPenNull ? Qt::NoPen : Qt::SolidLine);
    // A wide pen that is not geometric draws solid whatever its style.
    if (pen.brush && !fillsNothing(*pen.brush)) {
        result.setBrush(toQBrush(*pen.brush));
    }
    const QList<qreal> dashes = dashesOf(pen.style);
    if (!dashes.isEmpty() && (width <= 1.5 || (pen.style & kPenGeometric) != 0)) {
        result.setDashPattern(dashes);
    }
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
