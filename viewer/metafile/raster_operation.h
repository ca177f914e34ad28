#pragma once

#include <cstdint>

#include <QImage>
#include <QPainter>
#include <QRgb>

namespace vimbrel::raster_operation {

// The composition mode that draws a pen or a brush with one of the sixteen
// binary raster operations of SetROP2 (1 black ... 13 copy ... 16 white),
// which combine the pen's colour with the destination bit by bit. 11 (leave
// the destination alone) has no mode: callers draw nothing for it. Codes out
// of range draw as a copy.
QPainter::CompositionMode binaryMode(int rop2);

// A ternary raster operation of the blits (BitBlt, StretchBlt, the DIB blits
// and PatBlt). The third byte of its code is a truth table: bit p·4 + s·2 + d
// is the result for pattern bit p, source bit s and destination bit d, so
// 0xcc copies the source, 0xf0 the pattern and 0x55 inverts the destination.
class Ternary
{
public:
    explicit Ternary(uint32_t code) : mTable(static_cast<uint8_t>((code >> 16) & 0xff)) {}

    uint8_t table() const { return mTable; }
    bool usesPattern() const { return (((mTable >> 4) ^ mTable) & 0x0f) != 0; }
    bool usesSource() const { return (((mTable >> 2) ^ mTable) & 0x33) != 0; }
    bool isSourceCopy() const { return mTable == 0xcc; }
    bool isPatternCopy() const { return mTable == 0xf0; }

    // The result for whole pixels, computed on each bit of their colours;
    // the result is opaque.
    QRgb apply(QRgb pattern, QRgb source, QRgb destination) const;

    // The operation over a part of `destination` whose top left corner is
    // `at`: a layer of that part with the results where `covered` is opaque
    // and nothing elsewhere. `pattern` and `source` are layers of the same
    // size (either may be null where the operation does not use it).
    QImage combine(const QImage& destination, QPoint at, const QImage& pattern,
                   const QImage& source, const QImage& covered) const;

private:
    uint8_t mTable;
};

} // namespace vimbrel::raster_operation
