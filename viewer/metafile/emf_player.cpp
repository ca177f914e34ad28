#include "viewer/metafile/emf_player.h"

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

constexpr uint32_t kSignature = 0x464d4520; // " EMF"
constexpr size_t kMinimumHeader = 88;
constexpr double kScreenDpi = 96;
constexpr uint32_t kStockBit = 0x80000000u;

enum Record : uint32_t
{
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    FillRgn = 71,
    FrameRgn = 72,
    InvertRgn = 73,
    PaintRgn = 74,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    SetTextCharExtra = 103,
    AlphaBlend = 114,
    TransparentBlt = 116,
    GradientFill = 118
};

struct EmfHeader
{
    QRectF frameOnDevice; // the picture's frame in reference-device pixels
    QSize pictureSize;
    // The frame's last edge lies on the picture's last pixel (a frame from
    // the header), not beyond it (bounds standing in).
    bool edgesIncluded = false;
    double unitsPerMmX = kScreenDpi / 25.4;
    double unitsPerMmY = kScreenDpi / 25.4;
    uint32_t handles = 0;
};

QRectF readRectL(ByteReader& p)
{
    const double left = p.i32();
    const double top = p.i32();
    const double right = p.i32();
    const double bottom = p.i32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF readPointL(ByteReader& p)
{
    const double x = p.i32();
    const double y = p.i32();
    return {x, y};
}

std::optional<EmfHeader> readHeader(std::span<const uint8_t> file)
{
    ByteReader in(file);
    const uint32_t type = in.u32();
    const uint32_t size = in.u32();
    const QRectF bounds = readRectL(in);
    const QRectF frame = readRectL(in);
    const uint32_t signature = in.u32();
    in.u32(); // version
    const uint32_t bytes = in.u32();
    in.u32(); // records
    EmfHeader header;
    header.handles = in.u16();
    in.u16();    // reserved
    in.skip(12); // description and palette
    const double deviceWidth = in.i32();
    const double deviceHeight = in.i32();
    const double millimetresWidth = in.i32();
    const double millimetresHeight = in.i32();
    if (in.failed() || type != Header || signature != kSignature || size < kMinimumHeader ||
        size % 4 != 0 || size > file.size()) {
        return std::nullopt;
    }
    // A file shorter than it says it is has lost its end.
    if (bytes > file.size()) {
        return std::nullopt;
    }
    if (deviceWidth > 0 && deviceHeight > 0 && millimetresWidth > 0 && millimetresHeight > 0) {
        header.unitsPerMmX = deviceWidth / millimetresWidth;
        header.unitsPerMmY = deviceHeight / millimetresHeight;
    }
    // The frame (hundredths of a millimetre, edges included) gives the size,
    // as the device plays it: the frame's first edge on the first pixel, its
    // last on the last. The bounds (device pixels) stand in when it is empty.
    const QRectF frameMm = frame.normalized();
    double width = 0;
    double height = 0;
    if (frame.width() > 0 && frame.height() > 0) {
        header.frameOnDevice = QRectF(frameMm.left() / 100 * header.unitsPerMmX,
                                      frameMm.top() / 100 * header.unitsPerMmY,
                                      frameMm.width() / 100 * header.unitsPerMmX,
                                      frameMm.height() / 100 * header.unitsPerMmY);
        width = metafile_size::emfSide(frameMm.width());
        height = metafile_size::emfSide(frameMm.height());
        header.edgesIncluded = true;
    } else if (bounds.width() >= 0 && bounds.height() >= 0) {
        header.frameOnDevice = bounds.adjusted(0, 0, 1, 1);
        width = header.frameOnDevice.width() * kScreenDpi / 25.4 / header.unitsPerMmX;
        height = header.frameOnDevice.height() * kScreenDpi / 25.4 / header.unitsPerMmY;
    }
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0 || height < 0) {
        return std::nullopt;
    }
    // A picture of several metres comes out at a size a screen shows.
    const double fit = metafile_size::fitFactor(width, height);
    header.pictureSize = QSize(std::max(2, static_cast<int>(std::floor(width * fit + 0.5))),
                               std::max(2, static_cast<int>(std::floor(height * fit + 0.5))));
    if (!metafile_limits::fits(header.pictureSize.width(), header.pictureSize.height())) {
        return std::nullopt;
    }
    return header;
}

struct RecordView
{
    uint32_t type = 0;
    ByteReader whole;      // the record from its type field on
    ByteReader parameters; // after type and size
};

class EmfPlayer
{
public:
    EmfPlayer(std::span<const uint8_t> file, const EmfHeader& header, bool drawText,
              DrawBudget& budget)
        : mFile(file), mHeader(header), mDrawText(drawText), mBudget(budget),
          mObjects(header.handles)
    {
    }

    QImage play();

private:
    bool playRecord(RecordView& record);
    bool playShapeRecord(RecordView& record);
    bool playObjectRecord(RecordView& record);
    bool playBitmapRecord(RecordView& record);
    bool playTextRecord(RecordView& record);
    bool playRegionRecord(RecordView& record);
    // EMR_GRADIENTFILL: rectangles shaded across or down, or triangles
    // shaded between their corners.
    bool playGradientRecord(RecordView& record);
    bool select(uint32_t index);
    bool brushAt(uint32_t index, const GdiBrush*& brush) const;

    std::span<const uint8_t> mFile;
    EmfHeader mHeader;
    bool mDrawText;
    DrawBudget& mBudget;
    GdiObjectTable mObjects;
    std::optional<MetafileCanvas> mCanvas;
};

QImage EmfPlayer::play()
{
    const QRectF frame = mHeader.frameOnDevice;
    if (frame.width() <= 0 || frame.height() <= 0) {
        return {};
    }
    const double spanned = mHeader.edgesIncluded ? 1 : 0;
    const QTransform deviceToPicture =
        QTransform::fromTranslate(-frame.left(), -frame.top()) *
        QTransform::fromScale((mHeader.pictureSize.width() - spanned) / frame.width(),
                              (mHeader.pictureSize.height() - spanned) / frame.height());
    mCanvas.emplace(mHeader.pictureSize, deviceToPicture, mHeader.unitsPerMmX, mHeader.unitsPerMmY,
                    mDrawText, mBudget);
    if (!mCanvas->isValid()) {
        return {};
    }
    ByteReader in(mFile);
    int64_t count = 0;
    bool ended = false;
    while (in.remaining() > 0) {
        if (++count > metafile_limits::kMaxRecords) {
            return {};
        }
        const size_t start = in.position();
        const uint32_t type = in.u32();
        const uint32_t size = in.u32();
        if (in.failed() || size < 8 || size % 4 != 0 || size > in.size() - start) {
            return {};
        }
        RecordView record{type, in.sub(start, size), in.sub(start + 8, size - 8)};
        in.seek(start + size);
        if (type == Eof) {
            ended = true;
            break;
        }
        if (!playRecord(record) || record.parameters.failed() || record.whole.failed() ||
            mCanvas->exhausted()) {
            return {};
        }
    }
    if (!ended) {
        return {};
    }
    return mCanvas->finish();
}

QPolygonF readPoints(ByteReader& p, uint32_t count, bool small)
{
    QPolygonF points;
    if (!p.has(count, small ? 4 : 8)) {
        return points;
    }
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (small) {
            const double x = p.i16();
            const double y = p.i16();
            points.append(QPointF(x, y));
        } else {
            points.append(readPointL(p));
        }
    }
    return points;
}

QTransform readTransform(ByteReader& p)
{
    const double m11 = p.f32();
    const double m12 = p.f32();
    const double m21 = p.f32();
    const double m22 = p.f32();
    const double dx = p.f32();
    const double dy = p.f32();
    return QTransform(m11, m12, m21, m22, dx, dy);
}

// The part of a blit's source bitmap that a rectangle in the source's logical
// units covers. A transform that is not a plain scale and shift, or that
// gives no finite area, is taken as the identity, as most writers set it.
QRectF sourcePixels(const QTransform& transform, const QRectF& logical)
{
    const bool usable =
        transform.type() <= QTransform::TxScale && transform.m11() != 0 && transform.m22() != 0;
    const QRectF pixels = usable ? transform.mapRect(logical) : logical;
    if (!std::isfinite(pixels.x()) || !std::isfinite(pixels.y()) ||
        !std::isfinite(pixels.width()) || !std::isfinite(pixels.height())) {
        return logical;
    }
    return pixels;
}

bool EmfPlayer::playRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    DrawingState& state = canvas.state();
    switch (record.type) {
    case SetWindowExtEx: {
        const QPointF extent = readPointL(p);
        canvas.setWindowExt(QSizeF(extent.x(), extent.y()));
        return true;
    }
    case SetWindowOrgEx:
        canvas.setWindowOrg(readPointL(p));
        return true;
    case SetViewportExtEx: {
        const QPointF extent = readPointL(p);
        canvas.setViewportExt(QSizeF(extent.x(), extent.y()));
        return true;
    }
    case SetViewportOrgEx:
        canvas.setViewportOrg(readPointL(p));
        return true;
    case ScaleViewportExtEx:
    case ScaleWindowExtEx: {
        const double xNumerator = p.i32();
        const double xDenominator = p.i32();
        const double yNumerator = p.i32();
        const double yDenominator = p.i32();
        if (xDenominator == 0 || yDenominator == 0) {
            return true;
        }
        const bool window = record.type == ScaleWindowExtEx;
        const QSizeF extent = window ? state.windowExt : state.viewportExt;
        const QSizeF scaled(std::trunc(extent.width() * xNumerator / xDenominator),
                            std::trunc(extent.height() * yNumerator / yDenominator));
        window ? canvas.setWindowExt(scaled) : canvas.setViewportExt(scaled);
        return true;
    }
    case SetMapMode:
        canvas.setMapMode(p.i32());
        return true;
    case SetBkMode:
        state.opaqueBackground = p.u32() == 2;
        return true;
    case SetPolyFillMode:
        state.windingFill = p.u32() == 2;
        return true;
    case SetRop2:
        state.rop2 = p.i32();
        return true;
    case SetTextAlign:
        state.textAlign = p.u32();
        return true;
    case SetTextColor:
        state.textColour = gdi::colourFromRef(p.u32());
        return true;
    case SetBkColor:
        state.backColour = gdi::colourFromRef(p.u32());
        return true;
    case SetTextCharExtra:
        state.textCharExtra = p.i32();
        return true;
    case SetArcDirection:
        state.clockwiseArcs = p.u32() == 2;
        return true;
    case OffsetClipRgn:
        canvas.offsetClip(readPointL(p));
        return true;
    case ExcludeClipRect:
        canvas.excludeClip(readRectL(p));
        return true;
    case IntersectClipRect:
        canvas.intersectClip(readRectL(p));
        return true;
    case SaveDc:
        canvas.save();
        return true;
    case RestoreDc:
        canvas.restore(p.i32());
        return true;
    case SetWorldTransform:
        canvas.setWorldTransform(readTransform(p));
        return true;
    case ModifyWorldTransform: {
        const QTransform transform = readTransform(p);
        canvas.modifyWorldTransform(transform, p.u32());
        return true;
    }
    case BeginPath:
        canvas.beginPath();
        return true;
    case EndPath:
        canvas.endPath();
        return true;
    case CloseFigure:
        canvas.closeFigure();
        return true;
    case AbortPath:
        canvas.abortPath();
        return true;
    case FillPath:
        canvas.fillPath();
        return true;
    case StrokePath:
        canvas.strokePath();
        return true;
    case StrokeAndFillPath:
        canvas.strokeAndFillPath();
        return true;
    case SelectClipPath:
        canvas.selectClipPath(p.u32());
        return true;
    case BitBlt:
    case StretchBlt:
    case SetDiBitsToDevice:
    case StretchDiBits:
    case AlphaBlend:
    case TransparentBlt:
        return playBitmapRecord(record);
    case ExtTextOutA:
    case ExtTextOutW:
        return playTextRecord(record);
    case FillRgn:
    case FrameRgn:
    case InvertRgn:
    case PaintRgn:
    case ExtSelectClipRgn:
        return playRegionRecord(record);
    case GradientFill:
        return playGradientRecord(record);
    default:
        return playShapeRecord(record);
    }
}

bool EmfPlayer::playGradientRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    readRectL(p); // bounds
    const uint32_t vertexCount = p.u32();
    const uint32_t shapeCount = p.u32();
    // 0: rectangles shaded across, 1: rectangles shaded down, 2: triangles.
    const uint32_t mode = p.u32();
    constexpr uint32_t kRectangleDown = 1;
    constexpr uint32_t kTriangle = 2;
    const size_t shapeBytes = mode == kTriangle ? 12 : 8;
    if (p.failed() || mode > kTriangle || !p.has(vertexCount, 16) ||
        !p.has(uint64_t(vertexCount) * 16 + uint64_t(shapeCount) * shapeBytes, 1)) {
        return false;
    }
    std::vector<MetafileCanvas::GradientVertex> vertices(vertexCount);
    for (MetafileCanvas::GradientVertex& vertex : vertices) {
        vertex.point = readPointL(p);
        // Each channel has 16 bits, of which the device takes the high 8.
        const int red = p.u16() >> 8;
        const int green = p.u16() >> 8;
        const int blue = p.u16() >> 8;
        p.u16(); // alpha, which the device does not draw with here
        vertex.colour = QColor(red, green, blue);
    }
    MetafileCanvas& canvas = *mCanvas;
    for (uint32_t i = 0; i < shapeCount && !p.failed(); ++i) {
        const uint32_t a = p.u32();
        const uint32_t b = p.u32();
        const uint32_t c = mode == kTriangle ? p.u32() : 0;
        // Shapes naming vertices the record does not have are passed over,
        // as the device does.
        if (a >= vertexCount || b >= vertexCount || c >= vertexCount) {
            continue;
        }
        if (mode == kTriangle) {
            canvas.gradientTriangle({vertices[a], vertices[b], vertices[c]});
        } else {
            canvas.gradientRectangle(vertices[a], vertices[b], mode == kRectangleDown);
        }
    }
    return !p.failed();
}

bool EmfPlayer::playShapeRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    switch (record.type) {
    case MoveToEx:
        canvas.moveTo(readPointL(p));
        return true;
    case LineTo:
        canvas.lineTo(readPointL(p));
        return true;
    case SetPixelV: {
        const QPointF point = readPointL(p);
        canvas.setPixel(point, gdi::colourFromRef(p.u32()));
        return true;
    }
    case Polygon:
    case Polyline:
    case PolyBezier:
    case PolyBezierTo:
    case PolylineTo:
    case Polygon16:
    case Polyline16:
    case PolyBezier16:
    case PolyBezierTo16:
    case PolylineTo16: {
        readRectL(p); // bounds
        const uint32_t count = p.u32();
        const bool small = record.type >= PolyBezier16;
        const QPolygonF points = readPoints(p, count, small);
        if (p.failed()) {
            return false;
        }
        switch (small ? record.type - PolyBezier16 + PolyBezier : record.type) {
        case Polygon:
            canvas.polygon(points);
            break;
        case Polyline:
            canvas.polyline(points);
            break;
        case PolyBezier:
            canvas.polyBezier(points, false);
            break;
        case PolyBezierTo:
            canvas.polyBezier(points, true);
            break;
        default:
            canvas.polylineTo(points);
            break;
        }
        return true;
    }
    case PolyPolygon:
    case PolyPolyline:
    case PolyPolygon16:
    case PolyPolyline16: {
        readRectL(p); // bounds
        const uint32_t shapes = p.u32();
        const uint32_t total = p.u32();
        const bool small = record.type == PolyPolygon16 || record.type == PolyPolyline16;
        if (!p.has(shapes, 4) || !p.has(total, small ? 4 : 8)) {
            return false;
        }
        std::vector<uint32_t> counts(shapes);
        uint64_t sum = 0;
        for (uint32_t& count : counts) {
            count = p.u32();
            sum += count;
        }
        if (sum > total) {
            return false;
        }
        std::vector<QPolygonF> polygons;
        polygons.reserve(shapes);
        for (const uint32_t count : counts) {
            polygons.push_back(readPoints(p, count, small));
        }
        if (p.failed()) {
            return false;
        }
        if (record.type == PolyPolygon || record.type == PolyPolygon16) {
            canvas.polyPolygon(polygons);
        } else {
            canvas.polyPolyline(polygons);
        }
        return true;
    }
    case Ellipse:
        canvas.ellipse(readRectL(p));
        return true;
    case Rectangle:
        canvas.rectangle(readRectL(p));
        return true;
    case RoundRect: {
        const QRectF box = readRectL(p);
        const QPointF corner = readPointL(p);
        if (!p.failed()) {
            canvas.roundRectangle(box, QSizeF(corner.x(), corner.y()));
        }
        return true;
    }
    case Arc:
    case ArcTo:
    case Chord:
    case Pie: {
        const QRectF box = readRectL(p);
        const QPointF start = readPointL(p);
        const QPointF end = readPointL(p);
        if (p.failed()) {
            return false;
        }
        const auto kind = record.type == Arc     ? MetafileCanvas::ArcKind::Arc
                          : record.type == ArcTo ? MetafileCanvas::ArcKind::ArcTo
                          : record.type == Pie   ? MetafileCanvas::ArcKind::Pie
                                                 : MetafileCanvas::ArcKind::Chord;
        canvas.arc(box, start, end, kind);
        return true;
    }
    case AngleArc: {
        const QPointF centre = readPointL(p);
        const double radius = p.u32();
        const double start = p.f32();
        const double sweep = p.f32();
        if (!p.failed()) {
            canvas.angleArc(centre, radius, start, sweep);
        }
        return true;
    }
    default:
        return playObjectRecord(record);
    }
}

bool EmfPlayer::select(uint32_t index)
{
    std::optional<GdiObject> stock;
    const GdiObject* object = nullptr;
    if (index & kStockBit) {
        stock = gdi::stockObject(index & ~kStockBit);
        object = stock ? &*stock : nullptr;
    } else {
        if (index == 0 || !mObjects.inRange(index)) {
            return false;
        }
        object = mObjects.get(index);
    }
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
    }
    return true;
}

bool EmfPlayer::brushAt(uint32_t index, const GdiBrush*& brush) const
{
    brush = nullptr;
    if (index & kStockBit) {
        return true; // the caller looks stock brushes up
    }
    if (!mObjects.inRange(index)) {
        return false;
    }
    const GdiObject* object = mObjects.get(index);
    brush = object ? std::get_if<GdiBrush>(object) : nullptr;
    return true;
}

// The bitmap a record carries at the offsets and sizes it gives, or a failed
// reader when they lie outside the record.
struct BitmapPlace
{
    uint32_t infoOffset = 0;
    uint32_t infoSize = 0;
    uint32_t bitsOffset = 0;
    uint32_t bitsSize = 0;
};

BitmapPlace readBitmapPlace(ByteReader& p)
{
    BitmapPlace place;
    place.infoOffset = p.u32();
    place.infoSize = p.u32();
    place.bitsOffset = p.u32();
    place.bitsSize = p.u32();
    return place;
}

// Decodes the bitmap; `damaged` is set when its place lies outside the record.
QImage decodeBitmap(const ByteReader& whole, const BitmapPlace& place, uint32_t usage,
                    bool keepAlpha, bool& damaged)
{
    const ByteReader info = whole.sub(place.infoOffset, place.infoSize);
    const ByteReader bits = whole.sub(place.bitsOffset, place.bitsSize);
    if (info.failed() || bits.failed()) {
        damaged = true;
        return {};
    }
    return dibImage(dib::decode(
        info.bytes(), bits.bytes(),
        usage == 1 ? dib::ColourUsage::PaletteIndices : dib::ColourUsage::Rgb, keepAlpha));
}

bool EmfPlayer::playObjectRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    switch (record.type) {
    case SelectObject:
        return select(p.u32());
    case DeleteObject: {
        const uint32_t index = p.u32();
        return (index & kStockBit) || (index != 0 && mObjects.remove(index));
    }
    case CreatePen: {
        const uint32_t index = p.u32();
        GdiPen pen;
        pen.style = p.u32();
        pen.width = std::abs(static_cast<double>(p.i32()));
        p.i32();
        pen.colour = gdi::colourFromRef(p.u32());
        return !p.failed() && index != 0 && mObjects.put(index, pen);
    }
    case ExtCreatePen: {
        const uint32_t index = p.u32();
        const BitmapPlace place = readBitmapPlace(p);
        GdiPen pen;
        pen.style = p.u32();
        const uint32_t width = p.u32();
        const uint32_t brushStyle = p.u32();
        const uint32_t colour = p.u32();
        const uint32_t hatch = p.u32();
        pen.colour = gdi::colourFromRef(colour);
        // Cosmetic pens are one pixel wide whatever their width says.
        pen.width = (pen.style & 0x000f0000) ? width : 0;
        if (p.failed() || index == 0) {
            return false;
        }
        if (brushStyle == gdi::kBrushNull) {
            pen.style = (pen.style & ~0x0fu) | gdi::kPenNull;
        } else if (brushStyle == gdi::kBrushHatched) {
            pen.brush = GdiBrush{gdi::kBrushHatched, pen.colour, hatch, {}, false};
        } else if (brushStyle == gdi::kBrushDibPattern || brushStyle == gdi::kBrushDibPatternPt) {
            // The pen paints with its bitmap, as a pattern brush fills; for
            // these brushes the colour field holds how the bitmap's colours
            // are given.
            bool damaged = false;
            GdiBrush brush{gdi::kBrushPattern, pen.colour, 0,
                           decodeBitmap(record.whole, place, colour, false, damaged), false};
            if (damaged) {
                return false;
            }
            pen.brush = brush;
        }
        return mObjects.put(index, pen);
    }
    case CreateBrushIndirect: {
        const uint32_t index = p.u32();
        GdiBrush brush;
        brush.style = p.u32();
        brush.colour = gdi::colourFromRef(p.u32());
        brush.hatch = p.u32();
        return !p.failed() && index != 0 && mObjects.put(index, brush);
    }
    case CreateDibPatternBrushPt:
    case CreateMonoBrush: {
        const uint32_t index = p.u32();
        const uint32_t usage = p.u32();
        const BitmapPlace place = readBitmapPlace(p);
        if (p.failed() || index == 0) {
            return false;
        }
        bool damaged = false;
        GdiBrush brush;
        brush.style = gdi::kBrushPattern;
        brush.pattern = decodeBitmap(record.whole, place, usage, false, damaged);
        brush.monochrome = record.type == CreateMonoBrush;
        return !damaged && mObjects.put(index, brush);
    }
    case ExtCreateFontIndirectW: {
        const uint32_t index = p.u32();
        GdiFont font;
        font.height = p.i32();
        font.width = p.i32();
        font.escapement = p.i32();
        p.i32(); // orientation
        font.weight = p.i32();
        font.italic = p.u8() != 0;
        font.underline = p.u8() != 0;
        font.strikeOut = p.u8() != 0;
        font.charset = p.u8();
        p.skip(3); // output and clipping precision, quality
        font.pitchAndFamily = p.u8();
        font.face = metafile_strings::fromUtf16(p.take(std::min<size_t>(p.remaining(), 64)));
        return !p.failed() && index != 0 && mObjects.put(index, font);
    }
    case CreatePalette: {
        const uint32_t index = p.u32();
        return !p.failed() && index != 0 && mObjects.put(index, GdiPalette{});
    }
    default:
        // Records without a drawing effect here (comments, colour
        // management, palettes, modes the picture does not depend on) are
        // skipped.
        return true;
    }
}

// Region data: a header, then its rectangles.
std::optional<QRegion> readRegionData(ByteReader& p, uint32_t size)
{
    ByteReader data = p.sub(p.position(), size);
    if (data.failed()) {
        return std::nullopt;
    }
    p.skip(size);
    if (size == 0) {
        return QRegion();
    }
    data.u32(); // header size
    data.u32(); // type
    const uint32_t count = data.u32();
    data.u32();    // size of the rectangles
    data.skip(16); // bounds
    if (data.failed() || count > metafile_limits::kMaxRegionRects || !data.has(count, 16)) {
        return std::nullopt;
    }
    std::vector<QRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const QRectF box = readRectL(data).normalized();
        if (box.width() > 0 && box.height() > 0 && std::abs(box.left()) < 1e7 &&
            std::abs(box.top()) < 1e7 && box.width() < 1e7 && box.height() < 1e7) {
            rects.push_back(box.toRect());
        }
    }
    return uniteRects(std::move(rects));
}

bool EmfPlayer::playRegionRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    if (record.type == ExtSelectClipRgn) {
        const uint32_t size = p.u32();
        const uint32_t mode = p.u32();
        const auto region = readRegionData(p, size);
        if (!region) {
            return false;
        }
        canvas.combineDeviceClip(*region, mode);
        return true;
    }
    readRectL(p); // bounds
    const uint32_t size = p.u32();
    const GdiBrush* brush = nullptr;
    uint32_t brushIndex = 0;
    if (record.type == FillRgn || record.type == FrameRgn) {
        brushIndex = p.u32();
        if (!brushAt(brushIndex, brush)) {
            return false;
        }
    }
    QSizeF frame;
    if (record.type == FrameRgn) {
        const QPointF size2 = readPointL(p);
        frame = QSizeF(size2.x(), size2.y());
    }
    const auto region = readRegionData(p, size);
    if (!region || p.failed()) {
        return false;
    }
    std::optional<GdiObject> stock;
    if (brushIndex & kStockBit) {
        stock = gdi::stockObject(brushIndex & ~kStockBit);
        brush = stock ? std::get_if<GdiBrush>(&*stock) : nullptr;
    }
    switch (record.type) {
    case FillRgn:
        if (brush) {
            canvas.fillRegion(*region, *brush);
        }
        break;
    case FrameRgn:
        if (brush) {
            canvas.frameRegion(*region, *brush, frame);
        }
        break;
    case PaintRgn:
        canvas.fillRegion(*region, canvas.state().brush);
        break;
    default:
        canvas.invertRegion(*region);
        break;
    }
    return true;
}

// `image` with the pixels of `colour` made transparent.
QImage withoutColour(const QImage& image, QRgb colour)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & 0x00ffffff) == (colour & 0x00ffffff)) {
                line[x] = 0;
            }
        }
    }
    return result;
}

bool EmfPlayer::playBitmapRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    MetafileCanvas& canvas = *mCanvas;
    readRectL(p); // bounds
    bool damaged = false;
    if (record.type == StretchDiBits || record.type == SetDiBitsToDevice) {
        const QPointF target = readPointL(p);
        const double xSource = p.i32();
        const double ySource = p.i32();
        const double sourceWidth = p.i32();
        const double sourceHeight = p.i32();
        const BitmapPlace place = readBitmapPlace(p);
        const uint32_t usage = p.u32();
        uint32_t operation = 0x00cc0020;
        QSizeF targetSize(sourceWidth, sourceHeight);
        if (record.type == StretchDiBits) {
            operation = p.u32();
            const double width = p.i32();
            const double height = p.i32();
            targetSize = QSizeF(width, height);
        }
        if (p.failed()) {
            return false;
        }
        const QImage image = decodeBitmap(record.whole, place, usage, false, damaged);
        if (damaged) {
            return false;
        }
        // The source rectangle counts from the bitmap's bottom row.
        canvas.drawBitmap(
            QRectF(target, targetSize), image,
            QRectF(xSource, image.height() - ySource - sourceHeight, sourceWidth, sourceHeight),
            operation);
        return true;
    }
    // The target is given as x, y, width and height, not as two corners.
    const double xTarget = p.i32();
    const double yTarget = p.i32();
    const double widthTarget = p.i32();
    const double heightTarget = p.i32();
    const QRectF targetRect(xTarget, yTarget, widthTarget, heightTarget);
    const uint32_t operation = p.u32();
    const double xSource = p.i32();
    const double ySource = p.i32();
    // Maps the source rectangle, in the source's logical units, to its pixels.
    const QTransform sourceTransform = readTransform(p);
    p.u32(); // the source's background colour
    const uint32_t usage = p.u32();
    const BitmapPlace place = readBitmapPlace(p);
    double sourceWidth = targetRect.width();
    double sourceHeight = targetRect.height();
    if (record.type != BitBlt) {
        sourceWidth = p.i32();
        sourceHeight = p.i32();
    }
    if (p.failed()) {
        return false;
    }
    if (place.infoSize == 0) {
        if (record.type == BitBlt || record.type == StretchBlt) {
            canvas.patternBlt(targetRect, operation);
        }
        return true;
    }
    const bool alpha = record.type == AlphaBlend && ((operation >> 24) & 0xff) == 1;
    QImage image = decodeBitmap(record.whole, place, usage, alpha, damaged);
    if (damaged) {
        return false;
    }
    double opacity = 1.0;
    uint32_t rasterOperation = operation;
    if (record.type == AlphaBlend) {
        opacity = ((operation >> 16) & 0xff) / 255.0;
        rasterOperation = 0x00cc0020;
    } else if (record.type == TransparentBlt) {
        if (!image.isNull()) {
            image = withoutColour(image, gdi::colourFromRef(operation).rgb());
        }
        rasterOperation = 0x00cc0020;
    }
    canvas.drawBitmap(
        targetRect, image,
        sourcePixels(sourceTransform, QRectF(xSource, ySource, sourceWidth, sourceHeight)),
        rasterOperation, opacity);
    return true;
}

bool EmfPlayer::playTextRecord(RecordView& record)
{
    ByteReader& p = record.parameters;
    readRectL(p); // bounds
    p.u32();      // graphics mode
    p.f32();      // x scale
    p.f32();      // y scale
    const QPointF reference = readPointL(p);
    const uint32_t count = p.u32();
    const uint32_t stringOffset = p.u32();
    const uint32_t options = p.u32();
    std::optional<QRectF> box;
    if (!(options & 0x100)) {
        box = readRectL(p);
    }
    const uint32_t advancesOffset = p.u32();
    if (p.failed() || count > metafile_limits::kMaxTextLength) {
        return !p.failed();
    }
    const bool wide = record.type == ExtTextOutW;
    ByteReader chars =
        record.whole.sub(stringOffset, static_cast<uint64_t>(count) * (wide ? 2 : 1));
    if (chars.failed()) {
        return false;
    }
    const GdiFont& font = mCanvas->state().font;
    QString text = wide ? metafile_strings::fromUtf16(chars.bytes())
                        : metafile_strings::textInFont(chars.bytes(), font.charset, font.face);
    if (wide && metafile_strings::usesSymbolCoding(font.charset, font.face)) {
        text = metafile_strings::fromSymbolFont(text);
    }
    std::vector<double> advances;
    const uint32_t perCharacter = (options & 0x2000) ? 2 : 1;
    if (advancesOffset != 0 && count > 0) {
        ByteReader dx =
            record.whole.sub(advancesOffset, static_cast<uint64_t>(count) * 4 * perCharacter);
        if (!dx.failed()) {
            for (uint32_t i = 0; i < count; ++i) {
                advances.push_back(dx.i32());
                if (perCharacter == 2) {
                    dx.i32();
                }
            }
        }
    }
    if (advances.size() != static_cast<size_t>(text.size())) {
        advances.clear();
    }
    // Glyph indices name shapes of one font file, not characters: only the
    // box is drawn.
    if (options & 0x10) {
        text.clear();
    }
    mCanvas->text(reference, text, advances, options, box);
    return true;
}

} // namespace

bool looksLikeEmf(std::span<const uint8_t> file)
{
    ByteReader in(file);
    const uint32_t type = in.u32();
    in.skip(36);
    return !in.failed() && type == Header && in.u32() == kSignature;
}

QImage playEmf(std::span<const uint8_t> file, bool drawText, DrawBudget& budget)
{
    const auto header = readHeader(file);
    if (!header) {
        return {};
    }
    EmfPlayer player(file, *header, drawText, budget);
    return player.play();
}

} // namespace vimbrel
