#include "viewer/metafile/wmf_player.h"

#include <cmath>
#include <optional>
#include <vector>

#include "viewer/metafile/dib_image.h"
#include "viewer/metafile/gdi_object_table.h"
#include "viewer/metafile/metafile_canvas.h"
#include "viewer/metafile/metafile_limits.h"
#include "viewer/metafile/metafile_strings.h"
#include "viewer/metafile/region_union.h"
#include "viewer/pictures/byte_reader.h"
#include "viewer/pictures/dib_decoder.h"
#include "viewer/pictures/metafile_size.h"

namespace vimbrel {
namespace {

constexpr uint32_t kPlaceableKey = 0x9ac6cdd7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kHeaderSize = 18;
constexpr double kScreenDpi = 96;
// Longest side a plain WMF without any stated size is drawn at.
constexpr double kPlainLongestSide = 2048;

enum Record : uint16_t
{
    Eof = 0x0000,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106,
    SetTextCharExtra = 0x0108,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020b,
    SetWindowExt = 0x020c,
    SetViewportOrg = 0x020d,
    SetViewportExt = 0x020e,
    OffsetWindowOrg = 0x020f,
    ScaleWindowExt = 0x0410,
    OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Pie = 0x081a,
    Rectangle = 0x041b,
    RoundRect = 0x061c,
    PatBlt = 0x061d,
    SaveDc = 0x001e,
    SetPixel = 0x041f,
    OffsetClipRgn = 0x0220,
    TextOut = 0x0521,
    BitBlt = 0x0922,
    StretchBlt = 0x0b23,
    Polygon = 0x0324,
    Polyline = 0x0325,
    RestoreDc = 0x0127,
    FillRegion = 0x0228,
    FrameRegion = 0x0429,
    InvertRegion = 0x012a,
    PaintRegion = 0x012b,
    SelectClipRegion = 0x012c,
    SelectObject = 0x012d,
    SetTextAlign = 0x012e,
    Chord = 0x0830,
    ExtTextOut = 0x0a32,
    SetDibToDev = 0x0d33,
    SelectPalette = 0x0234,
    PolyPolygon = 0x0538,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0b41,
    DibCreatePatternBrush = 0x0142,
    StretchDib = 0x0f43,
    DeleteObject = 0x01f0,
    CreatePalette = 0x00f7,
    CreatePatternBrush = 0x01f9,
    CreatePenIndirect = 0x02fa,
    CreateFontIndirect = 0x02fb,
    CreateBrushIndirect = 0x02fc,
    CreateRegion = 0x06ff
};

struct Header
{
    std::optional<QRectF> placeableBox;
    double unitsPerInch = 1440;
    uint16_t objectCount = 0;
    size_t recordsStart = 0;
};

std::optional<Header> readHeader(std::span<const uint8_t> file)
{
    ByteReader in(file);
    Header header;
    if (in.u32() == kPlaceableKey) {
        in.u16(); // handle
        const int left = in.i16();
        const int top = in.i16();
        const int right = in.i16();
        const int bottom = in.i16();
        const uint16_t inch = in.u16();
        header.placeableBox = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        header.unitsPerInch = inch == 0 ? 1440 : inch;
        in.seek(kPlaceableSize);
    } else {
        in.seek(0);
    }
    const size_t start = in.position();
    const uint16_t type = in.u16();
    const uint16_t headerWords = in.u16();
    in.u16(); // version
    in.u32(); // size in words: not trusted, as the device does not trust it
    header.objectCount = in.u16();
    in.u32(); // largest record
    in.u16(); // unused
    if (in.failed() || (type != 1 && type != 2) || headerWords != kHeaderSize / 2) {
        return std::nullopt;
    }
    // The records say where the file ends (one cut inside a record is
    // damaged), not the header's size.
    header.recordsStart = start + kHeaderSize;
    return header;
}

// One record: its function and its parameters.
struct RecordView
{
    uint16_t function = 0;
    uint32_t words = 0;
    ByteReader parameters;
};

// Walks the records, refusing ones that run past the end of the file.
class RecordWalker
{
public:
    RecordWalker(std::span<const uint8_t> file, size_t start) : mIn(file) { mIn.seek(start); }

    // The next record, or nothing at the end (check damaged() then).
    std::optional<RecordView> next()
    {
        if (mDone || mIn.remaining() == 0 || ++mCount > metafile_limits::kMaxRecords) {
            mDamaged = mDamaged || mCount > metafile_limits::kMaxRecords;
            return std::nullopt;
        }
        const size_t start = mIn.position();
        RecordView record;
        record.words = mIn.u32();
        record.function = mIn.u16();
        if (mIn.failed() || record.words < 3 ||
            static_cast<uint64_t>(record.words) * 2 > mIn.size() - start) {
            mDamaged = true;
            return std::nullopt;
        }
        record.parameters = mIn.sub(start + 6, static_cast<uint64_t>(record.words) * 2 - 6);
        mIn.seek(start + static_cast<size_t>(record.words) * 2);
        if (record.function == Eof) {
            mDone = true;
            return std::nullopt;
        }
        return record;
    }

    bool damaged() const { return mDamaged; }

private:
    ByteReader mIn;
    int64_t mCount = 0;
    bool mDone = false;
    bool mDamaged = false;
};

// The logical window a plain WMF sets up first, and its mapping mode.
struct PlainFrame
{
    std::optional<QPointF> origin;
    std::optional<QSizeF> extent;
    int mapMode = DrawingState::Text;
};

PlainFrame findPlainFrame(std::span<const uint8_t> file, size_t start)
{
    PlainFrame frame;
    RecordWalker walker(file, start);
    while (auto record = walker.next()) {
        ByteReader& p = record->parameters;
        if (record->function == SetWindowOrg && !frame.origin) {
            const double y = p.i16();
            frame.origin = QPointF(p.i16(), y);
        } else if (record->function == SetWindowExt && !frame.extent) {
            const double y = p.i16();
            frame.extent = QSizeF(p.i16(), y);
        } else if (record->function == SetMapMode && !frame.extent) {
            frame.mapMode = p.u16();
        }
        if (frame.origin && frame.extent) {
            break;
        }
    }
    return frame;
}

// Millimetres per logical unit of the fixed mapping modes; 0 for the others.
double millimetresPerUnit(int mapMode)
{
    switch (mapMode) {
    case DrawingState::LoMetric:
        return 0.1;
    case DrawingState::HiMetric:
        return 0.01;
    case DrawingState::LoEnglish:
        return 0.254;
    case DrawingState::HiEnglish:
        return 0.0254;
    case DrawingState::Twips:
        return 25.4 / 1440;
    default:
        return 0;
    }
}

class WmfPlayer
{
public:
    WmfPlayer(std::span<const uint8_t> file, const Header& header, bool drawText,
              DrawBudget& budget)
        : mFile(file), mHeader(header), mDrawText(drawText), mBudget(budget),
          mObjects(header.objectCount)
    {
    }

    QImage play();

private:
    bool setUpCanvas();
    std::optional<QRectF> measureDrawing();
    bool playAll();
    bool playRecord(RecordView& record);
    bool playObjectRecord(RecordView& record);
    bool playBitmapRecord(RecordView& record);
    bool playTextRecord(RecordView& record);
    bool select(uint32_t index);
    const GdiRegion* region(uint32_t index, bool& outOfRange) const;
    QString readText(ByteReader& p, size_t length) const;

    std::span<const uint8_t> mFile;
    Header mHeader;
    bool mDrawText;
    DrawBudget& mBudget;
    GdiObjectTable mObjects;
    std::optional<MetafileCanvas> mCanvas;
};

bool WmfPlayer::setUpCanvas()
{
    QRectF frame;
    double pixelsPerUnitX = 1;
    double pixelsPerUnitY = 1;
    double unitsPerMm = kScreenDpi / 25.4;
    if (mHeader.placeableBox) {
        frame = *mHeader.placeableBox;
        pixelsPerUnitX = pixelsPerUnitY = kScreenDpi / mHeader.unitsPerInch;
        unitsPerMm = mHeader.unitsPerInch / 25.4;
    } else {
        const PlainFrame plain = findPlainFrame(mFile, mHeader.recordsStart);
        if (plain.extent) {
            const QPointF origin = plain.origin.value_or(QPointF());
            frame = QRectF(origin, *plain.extent).normalized();
        } else if (const auto drawn = measureDrawing()) {
            // Without a window the drawing's own bounds frame the picture.
            frame = drawn->toAlignedRect();
        } else {
            return false;
        }
        if (const double mm = millimetresPerUnit(plain.mapMode); mm > 0) {
            pixelsPerUnitX = pixelsPerUnitY = mm * kScreenDpi / 25.4;
        } else {
            const double longest = std::max(frame.width(), frame.height());
            if (longest > kPlainLongestSide) {
                pixelsPerUnitX = pixelsPerUnitY = kPlainLongestSide / longest;
            }
        }
    }
    // A picture larger than a screen shows comes out at a size it does.
    const double fit =
        metafile_size::fitFactor(frame.width() * pixelsPerUnitX, frame.height() * pixelsPerUnitY);
    pixelsPerUnitX *= fit;
    pixelsPerUnitY *= fit;
    const double width = std::max(1.0, std::round(frame.width() * pixelsPerUnitX));
    const double height = std::max(1.0, std::round(frame.height() * pixelsPerUnitY));
    if (!metafile_limits::fits(static_cast<int64_t>(width), static_cast<int64_t>(height))) {
        return false;
    }
    const QTransform deviceToPicture = QTransform::fromTranslate(-frame.left(), -frame.top()) *
                                       QTransform::fromScale(pixelsPerUnitX, pixelsPerUnitY);
    mCanvas.emplace(QSize(static_cast<int>(width), static_cast<int>(height)), deviceToPicture,
                    unitsPerMm, unitsPerMm, mDrawText, mBudget);
    if (!mCanvas->isValid()) {
        return false;
    }
    // Playback maps the metafile's window onto the whole picture: the device
    // starts in the anisotropic mode with window and viewport on the frame.
    DrawingState& state = mCanvas->state();
    state.mapMode = DrawingState::Anisotropic;
    state.windowOrg = state.viewportOrg = frame.topLeft();
    state.windowExt = state.viewportExt = frame.size();
    return true;
}

bool WmfPlayer::playAll()
{
    RecordWalker walker(mFile, mHeader.recordsStart);
    while (auto record = walker.next()) {
        if (!playRecord(*record) || record->parameters.failed() || mCanvas->exhausted()) {
            return false;
        }
    }
    return !walker.damaged();
}

std::optional<QRectF> WmfPlayer::measureDrawing()
{
    const double unitsPerMm = kScreenDpi / 25.4;
    mCanvas.emplace(MetafileCanvas::Measuring{}, unitsPerMm, unitsPerMm, mDrawText, mBudget);
    const bool played = playAll();
    const auto bounds = mCanvas->measured();
    mCanvas.reset();
    mObjects = GdiObjectTable(mHeader.objectCount);
    if (!played || !bounds || bounds->width() < 1 || bounds->height() < 1) {
        return std::nullopt;
    }
    return bounds;
}

QImage WmfPlayer::play()
{
    if (!setUpCanvas() || !playAll()) {
        return {};
    }
    return mCanvas->finish();
}

QPointF readPoint(ByteReader& p)
{
    const double y = p.i16();
    const double x = p.i16();
    return {x, y};
}

QRectF readRect(ByteReader& p)
{
    const double bottom = p.i16();
    const double right = p.i16();
    const double top = p.i16();
    const double left = p.i16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPolygonF readPoints(ByteReader& p, uint32_t count)
{
    QPolygonF points;
    if (!p.has(count, 4)) {
        return points;
    }
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const double x = p.i16();
        const double y = p.i16();
        points.append(QPointF(x, y));
    }
    return points;
}

bool WmfPlayer::playRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    DrawingState& state = canvas.state();
    switch (record.function) {
    case SetBkColor:
        state.backColour = gdi::colourFromRef(p.u32());
        return true;
    case SetBkMode:
        state.opaqueBackground = p.u16() == 2;
        return true;
    case SetMapMode:
        canvas.setMapMode(p.u16());
        return true;
    case SetRop2:
        state.rop2 = p.u16();
        return true;
    case SetPolyFillMode:
        state.windingFill = p.u16() == 2;
        return true;
    case SetTextCharExtra:
        state.textCharExtra = p.i16();
        return true;
    case SetTextColor:
        state.textColour = gdi::colourFromRef(p.u32());
        return true;
    case SetTextAlign:
        state.textAlign = p.u16();
        return true;
    case SetWindowOrg:
        canvas.setWindowOrg(readPoint(p));
        return true;
    case SetWindowExt: {
        const QPointF extent = readPoint(p);
        canvas.setWindowExt(QSizeF(extent.x(), extent.y()));
        return true;
    }
    case SetViewportOrg:
        canvas.setViewportOrg(readPoint(p));
        return true;
    case SetViewportExt: {
        const QPointF extent = readPoint(p);
        canvas.setViewportExt(QSizeF(extent.x(), extent.y()));
        return true;
    }
    case OffsetWindowOrg:
        canvas.setWindowOrg(state.windowOrg + readPoint(p));
        return true;
    case OffsetViewportOrg:
        canvas.setViewportOrg(state.viewportOrg + readPoint(p));
        return true;
    case ScaleWindowExt:
    case ScaleViewportExt: {
        const double yDenominator = p.i16();
        const double yNumerator = p.i16();
        const double xDenominator = p.i16();
        const double xNumerator = p.i16();
        if (xDenominator == 0 || yDenominator == 0) {
            return true;
        }
        const bool window = record.function == ScaleWindowExt;
        const QSizeF extent = window ? state.windowExt : state.viewportExt;
        const QSizeF scaled(std::trunc(extent.width() * xNumerator / xDenominator),
                            std::trunc(extent.height() * yNumerator / yDenominator));
        window ? canvas.setWindowExt(scaled) : canvas.setViewportExt(scaled);
        return true;
    }
    case LineTo:
        canvas.lineTo(readPoint(p));
        return true;
    case MoveTo:
        canvas.moveTo(readPoint(p));
        return true;
    case ExcludeClipRect:
        canvas.excludeClip(readRect(p));
        return true;
    case IntersectClipRect:
        canvas.intersectClip(readRect(p));
        return true;
    case OffsetClipRgn:
        canvas.offsetClip(readPoint(p));
        return true;
    case Arc:
    case Pie:
    case Chord: {
        const QPointF end = readPoint(p);
        const QPointF start = readPoint(p);
        const QRectF box = readRect(p);
        const auto kind = record.function == Arc   ? MetafileCanvas::ArcKind::Arc
                          : record.function == Pie ? MetafileCanvas::ArcKind::Pie
                                                   : MetafileCanvas::ArcKind::Chord;
        if (!p.failed()) {
            canvas.arc(box, start, end, kind);
        }
        return true;
    }
    case Ellipse:
        canvas.ellipse(readRect(p));
        return true;
    case Rectangle:
        canvas.rectangle(readRect(p));
        return true;
    case RoundRect: {
        const QPointF corner = readPoint(p);
        const QRectF box = readRect(p);
        if (!p.failed()) {
            canvas.roundRectangle(box, QSizeF(corner.x(), corner.y()));
        }
        return true;
    }
    case PatBlt: {
        const uint32_t operation = p.u32();
        const double height = p.i16();
        const double width = p.i16();
        const QPointF corner = readPoint(p);
        if (!p.failed()) {
            canvas.patternBlt(QRectF(corner, QSizeF(width, height)), operation);
        }
        return true;
    }
    case SaveDc:
        canvas.save();
        return true;
    case RestoreDc:
        canvas.restore(p.i16());
        return true;
    case SetPixel: {
        const QColor colour = gdi::colourFromRef(p.u32());
        canvas.setPixel(readPoint(p), colour);
        return true;
    }
    case Polygon:
    case Polyline: {
        const uint16_t count = p.u16();
        const QPolygonF points = readPoints(p, count);
        if (p.failed()) {
            return false;
        }
        record.function == Polygon ? canvas.polygon(points) : canvas.polyline(points);
        return true;
    }
    case PolyPolygon: {
        const uint16_t polygons = p.u16();
        if (!p.has(polygons, 2)) {
            return false;
        }
        std::vector<uint16_t> counts(polygons);
        for (uint16_t& count : counts) {
            count = p.u16();
        }
        std::vector<QPolygonF> shapes;
        for (const uint16_t count : counts) {
            shapes.push_back(readPoints(p, count));
            if (p.failed()) {
                return false;
            }
        }
        canvas.polyPolygon(shapes);
        return true;
    }
    case TextOut:
    case ExtTextOut:
        return playTextRecord(record);
    case BitBlt:
    case StretchBlt:
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
    case SetDibToDev:
        return playBitmapRecord(record);
    default:
        return playObjectRecord(record);
    }
}

const GdiRegion* WmfPlayer::region(uint32_t index, bool& outOfRange) const
{
    outOfRange = !mObjects.inRange(index);
    const GdiObject* object = mObjects.get(index);
    return object ? std::get_if<GdiRegion>(object) : nullptr;
}

bool WmfPlayer::select(uint32_t index)
{
    if (!mObjects.inRange(index)) {
        return false;
    }
    const GdiObject* object = mObjects.get(index);
    if (!object) {
        return true;
    }
    DrawingState& state = mCanvas->state();
    if (const auto* pen = std::get_if<GdiPen>(object)) {
        state.pen = *pen;
    } else if (const auto* brush = std::get_if<GdiBrush>(object)) {
        state.brush = *brush;
    } else if (const auto* font = std::get_if<GdiFont>(object)) {
        state.font = *font;
    } else if (const auto* area = std::get_if<GdiRegion>(object)) {
        mCanvas->selectLogicalClip(area->region);
    }
    return true;
}

// A region object: a header, then scans of equal height each listing the
// covered spans.
GdiRegion readRegion(ByteReader& p)
{
    std::vector<QRect> rects;
    p.u16(); // next in chain
    p.u16(); // object type
    p.u32(); // object count
    p.u16(); // region size
    const uint16_t scans = p.u16();
    p.u16();   // largest scan
    p.skip(8); // bounding rectangle
    for (uint16_t scan = 0; scan < scans && !p.failed(); ++scan) {
        const uint16_t count = p.u16();
        const int top = p.i16();
        const int bottom = p.i16();
        if (!p.has(count, 2)) {
            return {};
        }
        for (uint16_t i = 0; i + 1 < count; i += 2) {
            const int left = p.i16();
            const int right = p.i16();
            if (right > left && bottom > top) {
                rects.emplace_back(left, top, right - left, bottom - top);
            }
        }
        if (count % 2) {
            p.u16();
        }
        p.u16(); // the count again
        if (rects.size() > metafile_limits::kMaxRegionRects) {
            return {};
        }
    }
    return p.failed() ? GdiRegion{} : GdiRegion{uniteRects(std::move(rects))};
}

bool WmfPlayer::playObjectRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    switch (record.function) {
    case SelectObject:
        return select(p.u16());
    case SelectPalette:
        return mObjects.inRange(p.u16());
    case DeleteObject:
        return mObjects.remove(p.u16());
    case SelectClipRegion: {
        bool outOfRange = false;
        const GdiRegion* area = region(p.u16(), outOfRange);
        if (outOfRange) {
            return false;
        }
        canvas.selectLogicalClip(area ? std::optional<QRegion>(area->region) : std::nullopt);
        return true;
    }
    case FillRegion:
    case FrameRegion:
    case InvertRegion:
    case PaintRegion: {
        bool outOfRange = false;
        const GdiRegion* area = region(p.u16(), outOfRange);
        if (outOfRange) {
            return false;
        }
        const GdiBrush* brush = nullptr;
        if (record.function == FillRegion || record.function == FrameRegion) {
            const uint16_t index = p.u16();
            if (!mObjects.inRange(index)) {
                return false;
            }
            const GdiObject* object = mObjects.get(index);
            brush = object ? std::get_if<GdiBrush>(object) : nullptr;
        }
        if (!area || p.failed()) {
            return true;
        }
        if (record.function == FillRegion && brush) {
            canvas.fillRegion(area->region, *brush);
        } else if (record.function == FrameRegion && brush) {
            const double height = p.i16();
            const double width = p.i16();
            canvas.frameRegion(area->region, *brush, QSizeF(width, height));
        } else if (record.function == PaintRegion) {
            canvas.fillRegion(area->region, canvas.state().brush);
        } else if (record.function == InvertRegion) {
            canvas.invertRegion(area->region);
        }
        return true;
    }
    case CreatePenIndirect: {
        GdiPen pen;
        pen.style = p.u16();
        pen.width = std::abs(p.i16());
        p.i16(); // unused height of the width point
        pen.colour = gdi::colourFromRef(p.u32());
        return !p.failed() && mObjects.add(pen);
    }
    case CreateBrushIndirect: {
        GdiBrush brush;
        brush.style = p.u16();
        brush.colour = gdi::colourFromRef(p.u32());
        brush.hatch = p.u16();
        return !p.failed() && mObjects.add(brush);
    }
    case CreateFontIndirect: {
        GdiFont font;
        font.height = p.i16();
        font.width = p.i16();
        font.escapement = p.i16();
        p.i16(); // orientation
        font.weight = p.i16();
        font.italic = p.u8() != 0;
        font.underline = p.u8() != 0;
        font.strikeOut = p.u8() != 0;
        font.charset = p.u8();
        p.skip(3); // output and clipping precision, quality
        font.pitchAndFamily = p.u8();
        if (p.failed()) {
            return false;
        }
        font.face = metafile_strings::fromCharset(p.take(std::min<size_t>(p.remaining(), 32)),
                                                  font.charset);
        return mObjects.add(font);
    }
    case DibCreatePatternBrush: {
        const uint16_t style = p.u16();
        const uint16_t usage = p.u16();
        const auto bitmap = p.take(p.remaining());
        GdiBrush brush;
        brush.style = gdi::kBrushPattern;
        // The bitmap is a device-independent one whatever the style; a
        // BS_PATTERN brush takes its colours as RGB, as the device does.
        const bool indices = style != gdi::kBrushPattern && usage == 1;
        brush.pattern = dibImage(dib::decodePacked(
            bitmap, indices ? dib::ColourUsage::PaletteIndices : dib::ColourUsage::Rgb));
        return mObjects.add(brush);
    }
    case CreatePatternBrush: {
        GdiBrush brush;
        brush.style = gdi::kBrushPattern;
        // A bitmap header, reserved bytes, then its bits.
        std::vector<uint8_t> bitmap;
        const auto head = p.take(10);
        p.skip(18);
        if (!p.failed()) {
            bitmap.assign(head.begin(), head.end());
            const auto bits = p.take(p.remaining());
            bitmap.insert(bitmap.end(), bits.begin(), bits.end());
            brush.pattern = dibImage(dib::decodeBitmap16(bitmap));
        }
        return mObjects.add(brush);
    }
    case CreatePalette:
        return mObjects.add(GdiPalette{});
    case CreateRegion:
        return mObjects.add(readRegion(p));
    default:
        // Records without a drawing effect here (escapes, palettes, modes the
        // picture does not depend on) are skipped.
        return true;
    }
}

QString WmfPlayer::readText(ByteReader& p, size_t length) const
{
    const auto bytes = p.take(length);
    if (length % 2) {
        p.skip(std::min<size_t>(1, p.remaining()));
    }
    const GdiFont& font = mCanvas->state().font;
    return metafile_strings::textInFont(bytes, font.charset, font.face);
}

bool WmfPlayer::playTextRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    if (record.function == TextOut) {
        const int16_t length = p.i16();
        if (length < 0 || !p.has(static_cast<uint64_t>(length) + 4)) {
            return false;
        }
        const QString text = readText(p, static_cast<size_t>(length));
        const QPointF point = readPoint(p);
        if (!p.failed()) {
            mCanvas->text(point, text, {}, 0, std::nullopt);
        }
        return true;
    }
    const QPointF point = readPoint(p);
    const int16_t length = p.i16();
    const uint16_t options = p.u16();
    std::optional<QRectF> box;
    if (options & 0x0006) {
        // Left, top, right, bottom in this record.
        const double left = p.i16();
        const double top = p.i16();
        const double right = p.i16();
        const double bottom = p.i16();
        box = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    if (p.failed() || length < 0 || !p.has(static_cast<uint64_t>(length))) {
        return false;
    }
    const QString text = readText(p, static_cast<size_t>(length));
    std::vector<double> advances;
    if (p.remaining() >= static_cast<size_t>(length) * 2) {
        for (int16_t i = 0; i < length; ++i) {
            advances.push_back(p.i16());
        }
    }
    // Double-byte characters carry one advance per byte; keep them apart.
    if (advances.size() != static_cast<size_t>(text.size())) {
        advances.clear();
    }
    mCanvas->text(point, text, advances, options, box);
    return true;
}

bool WmfPlayer::playBitmapRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    // Block transfers without a bitmap: the record ends where its fixed part does.
    const bool withoutBitmap = record.function != StretchDib &&
                               record.words == static_cast<uint32_t>((record.function >> 8) + 3);
    if (record.function == SetDibToDev) {
        const uint16_t usage = p.u16();
        p.u16(); // scan count
        p.u16(); // start scan
        const double ySource = p.i16();
        const double xSource = p.i16();
        const double height = p.i16();
        const double width = p.i16();
        const QPointF target = readPoint(p);
        if (p.failed()) {
            return false;
        }
        const QImage image = dibImage(
            dib::decodePacked(p.take(p.remaining()), usage == 1 ? dib::ColourUsage::PaletteIndices
                                                                : dib::ColourUsage::Rgb));
        // The source rectangle counts from the bitmap's bottom row.
        canvas.drawBitmap(QRectF(target, QSizeF(width, height)), image,
                          QRectF(xSource, image.height() - ySource - height, width, height),
                          0x00cc0020);
        return true;
    }
    const uint32_t operation = p.u32();
    uint16_t usage = 0;
    if (record.function == StretchDib) {
        usage = p.u16();
    }
    const bool stretching = record.function != BitBlt && record.function != DibBitBlt;
    double sourceHeight = 0;
    double sourceWidth = 0;
    if (stretching) {
        sourceHeight = p.i16();
        sourceWidth = p.i16();
    }
    const double ySource = p.i16();
    const double xSource = p.i16();
    if (withoutBitmap) {
        p.u16(); // reserved
    }
    const double height = p.i16();
    const double width = p.i16();
    const QPointF target = readPoint(p);
    if (p.failed()) {
        return false;
    }
    const QRectF targetRect(target, QSizeF(width, height));
    if (withoutBitmap) {
        canvas.patternBlt(targetRect, operation);
        return true;
    }
    if (!stretching) {
        sourceWidth = width;
        sourceHeight = height;
    }
    const auto bitmap = p.take(p.remaining());
    const bool deviceBitmap = record.function == BitBlt || record.function == StretchBlt;
    const QImage image =
        deviceBitmap
            ? dibImage(dib::decodeBitmap16(bitmap))
            : dibImage(dib::decodePacked(bitmap, usage == 1 ? dib::ColourUsage::PaletteIndices
                                                            : dib::ColourUsage::Rgb));
    double top = ySource;
    if (record.function == StretchDib) {
        top = image.height() - ySource - sourceHeight;
    }
    canvas.drawBitmap(targetRect, image, QRectF(xSource, top, sourceWidth, sourceHeight),
                      operation);
    return true;
}

} // namespace

QImage playWmf(std::span<const uint8_t> file, bool drawText, DrawBudget& budget)
{
    const auto header = readHeader(file);
    if (!header) {
        return {};
    }
    WmfPlayer player(file, *header, drawText, budget);
    return player.play();
}

} // namespace vimbrel
