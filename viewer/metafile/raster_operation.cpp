#include "viewer/metafile/raster_operation.h"

#include <array>

namespace vimbrel::raster_operation {

QPainter::CompositionMode binaryMode(int rop2)
{
    // Indexed by the SetROP2 code; P is the pen or brush, D the destination.
    static constexpr std::array<QPainter::CompositionMode, 17> kModes = {
        QPainter::CompositionMode_SourceOver,          // 0: no such code
        QPainter::RasterOp_ClearDestination,           // 1: 0 (black)
        QPainter::RasterOp_NotSourceAndNotDestination, // 2: ~(P | D)
        QPainter::RasterOp_NotSourceAndDestination,    // 3: ~P & D
        QPainter::RasterOp_NotSource,                  // 4: ~P
        QPainter::RasterOp_SourceAndNotDestination,    // 5: P & ~D
        QPainter::RasterOp_NotDestination,             // 6: ~D
        QPainter::RasterOp_SourceXorDestination,       // 7: P ^ D
        QPainter::RasterOp_NotSourceOrNotDestination,  // 8: ~(P & D)
        QPainter::RasterOp_SourceAndDestination,       // 9: P & D
        QPainter::RasterOp_NotSourceXorDestination,    // 10: ~(P ^ D)
        QPainter::CompositionMode_DestinationOver,     // 11: D (callers skip it)
        QPainter::RasterOp_NotSourceOrDestination,     // 12: ~P | D
        QPainter::CompositionMode_SourceOver,          // 13: P
        QPainter::RasterOp_SourceOrNotDestination,     // 14: P | ~D
        QPainter::RasterOp_SourceOrDestination,        // 15: P | D
        QPainter::RasterOp_SetDestination,             // 16: 1 (white)
    };
    return rop2 >= 1 && rop2 <= 16 ? kModes[static_cast<size_t>(rop2)]
                                   : QPainter::CompositionMode_SourceOver;
}

QRgb Ternary::apply(QRgb pattern, QRgb source, QRgb destination) const
{
    // The sum of the minterms the table selects, on all colour bits at once.
    uint32_t result = 0;
    for (uint32_t minterm = 0; minterm < 8; ++minterm) {
        if ((mTable >> minterm) & 1) {
            result |= ((minterm & 4) ? pattern : ~pattern) & ((minterm & 2) ? source : ~source) &
                      ((minterm & 1) ? destination : ~destination);
        }
    }
    return 0xff000000u | (result & 0x00ffffffu);
}

QImage Ternary::combine(const QImage& destination, QPoint at, const QImage& pattern,
                        const QImage& source, const QImage& covered) const
{
    QImage out(covered.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) {
        return out;
    }
    out.fill(Qt::transparent);
    // The canvas is 32 bits a pixel already; reading it in place keeps the
    // painter that is drawing on it undisturbed.
    QImage converted;
    if (destination.depth() != 32) {
        converted = destination.convertToFormat(QImage::Format_RGB32);
    }
    const QImage& target = converted.isNull() ? destination : converted;
    const auto rowOf = [](const QImage& layer, int y) {
        return layer.isNull() ? nullptr : reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    };
    for (int y = 0; y < out.height(); ++y) {
        const int targetY = at.y() + y;
        if (targetY < 0 || targetY >= target.height()) {
            continue;
        }
        const QRgb* coveredRow = rowOf(covered, y);
        const QRgb* patternRow = rowOf(pattern, y);
        const QRgb* sourceRow = rowOf(source, y);
        const auto* targetRow = reinterpret_cast<const QRgb*>(target.constScanLine(targetY));
        auto* outRow = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int targetX = at.x() + x;
            if (qAlpha(coveredRow[x]) < 128 || targetX < 0 || targetX >= target.width()) {
                continue;
            }
            outRow[x] = apply(patternRow ? patternRow[x] : 0, sourceRow ? sourceRow[x] : 0,
                              targetRow[targetX]);
        }
    }
    return out;
}

} // namespace vimbrel::raster_operation
