#include "viewer/metafile/metafile_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFontMetricsF>

#include "viewer/metafile/fill_work.h"
#include "viewer/metafile/font_choice.h"
#include "viewer/metafile/metafile_limits.h"
#include "viewer/metafile/raster_operation.h"
#include "viewer/metafile/region_union.h"

namespace vimbrel {
namespace {

constexpr uint32_t kSourceCopy = 0x00cc0020;

constexpr uint32_t kAlignUpdatePosition = 1;
constexpr uint32_t kAlignHorizontalMask = 6;
constexpr uint32_t kAlignRight = 2;
constexpr uint32_t kAlignCentre = 6;
constexpr uint32_t kAlignVerticalMask = 24;
constexpr uint32_t kAlignBottom = 8;
constexpr uint32_t kAlignBaseline = 24;
constexpr uint32_t kTextOpaque = 2;
constexpr uint32_t kTextClipped = 4;

// Coordinates beyond this many pixels from the picture are pulled in, so that
// absurd values cannot make the rasterizer work on astronomic shapes.
constexpr double kFarAway = 1.0e6;

double clampCoordinate(double value)
{
    if (!std::isfinite(value)) {
        return 0;
    }
    return std::clamp(value, -kFarAway, kFarAway);
}

// The pixel a coordinate falls on, as the device rounds: halves upwards.
double wholePixel(double value)
{
    return std::floor(value + 0.5);
}

QPainterPath clampPath(const QPainterPath& path)
{
    QPainterPath result = path;
    for (int i = 0; i < result.elementCount(); ++i) {
        const QPainterPath::Element e = result.elementAt(i);
        result.setElementPositionAt(i, wholePixel(clampCoordinate(e.x)),
                                    wholePixel(clampCoordinate(e.y)));
    }
    return result;
}

// The parametric angle of `point` on the ellipse in `box`, in degrees
// counter-clockwise from three o'clock, as QPainterPath::arcTo counts.
double ellipseAngle(const QRectF& box, QPointF point)
{
    const QPointF centre = box.center();
    const double rx = std::max(box.width() / 2, 1e-9);
    const double ry = std::max(box.height() / 2, 1e-9);
    return std::atan2(-(point.y() - centre.y()) / ry, (point.x() - centre.x()) / rx) * 180 /
           std::numbers::pi;
}

} // namespace

MetafileCanvas::MetafileCanvas(QSize size, const QTransform& deviceToPicture,
                               double deviceUnitsPerMmX, double deviceUnitsPerMmY, bool drawText,
                               DrawBudget& budget)
    : mDeviceToPicture(deviceToPicture), mUnitsPerMmX(deviceUnitsPerMmX),
      mUnitsPerMmY(deviceUnitsPerMmY), mDrawText(drawText), mBudget(budget)
{
    if (!metafile_limits::fits(size.width(), size.height())) {
        return;
    }
    mImage = QImage(size, QImage::Format_RGB32);
    if (mImage.isNull()) {
        return;
    }
    mImage.fill(Qt::white);
    mPainter.begin(&mImage);
    mPainter.setRenderHint(QPainter::Antialiasing, false);
    mPainter.setRenderHint(QPainter::TextAntialiasing, true);
    mPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

MetafileCanvas::MetafileCanvas(Measuring, double deviceUnitsPerMmX, double deviceUnitsPerMmY,
                               bool drawText, DrawBudget& budget)
    : mUnitsPerMmX(deviceUnitsPerMmX), mUnitsPerMmY(deviceUnitsPerMmY), mDrawText(drawText),
      mBudget(budget), mMeasuring(true)
{
}

MetafileCanvas::~MetafileCanvas()
{
    if (mPainter.isActive()) {
        mPainter.end();
    }
}

QImage MetafileCanvas::finish()
{
    if (mPainter.isActive()) {
        mPainter.end();
    }
    return std::move(mImage);
}

QTransform MetafileCanvas::logicalToPicture() const
{
    return mState.world * mState.pageTransform(mUnitsPerMmX, mUnitsPerMmY) * mDeviceToPicture;
}

double MetafileCanvas::penPixelWidth() const
{
    // As the device does: both ends of the width mapped to whole pixels, the
    // distance between them rounded down, and never less than one pixel.
    if (mState.pen.width <= 0) {
        return 1;
    }
    const QTransform t = logicalToPicture();
    const auto whole = [](QPointF p) { return QPointF(wholePixel(p.x()), wholePixel(p.y())); };
    const QPointF from = whole(t.map(QPointF(0, 0)));
    const QPointF to = whole(t.map(QPointF(mState.pen.width, 0)));
    const double width = std::floor(std::hypot(to.x() - from.x(), to.y() - from.y()));
    return std::isfinite(width) ? std::max(width, 1.0) : 1.0;
}

void MetafileCanvas::setMapMode(int mode)
{
    mState.setMapMode(mode, mUnitsPerMmX, mUnitsPerMmY);
}

void MetafileCanvas::setWindowOrg(QPointF origin)
{
    mState.windowOrg = origin;
}

void MetafileCanvas::setWindowExt(QSizeF extent)
{
    // The device refuses empty extents and ignores them in fixed modes.
    if (extent.width() != 0 && extent.height() != 0 &&
        (mState.mapMode == DrawingState::Isotropic ||
         mState.mapMode == DrawingState::Anisotropic)) {
        mState.windowExt = extent;
    }
}

void MetafileCanvas::setViewportOrg(QPointF origin)
{
    mState.viewportOrg = origin;
}

void MetafileCanvas::setViewportExt(QSizeF extent)
{
    if (extent.width() != 0 && extent.height() != 0 &&
        (mState.mapMode == DrawingState::Isotropic ||
         mState.mapMode == DrawingState::Anisotropic)) {
        mState.viewportExt = extent;
    }
}

void MetafileCanvas::setWorldTransform(const QTransform& transform)
{
    const bool finite = std::isfinite(transform.m11()) && std::isfinite(transform.m12()) &&
                        std::isfinite(transform.m21()) && std::isfinite(transform.m22()) &&
                        std::isfinite(transform.dx()) && std::isfinite(transform.dy());
    if (finite && transform.isInvertible()) {
        mState.world = transform;
    }
}

void MetafileCanvas::modifyWorldTransform(const QTransform& transform, uint32_t mode)
{
    switch (mode) {
    case 1: // identity
        mState.world = QTransform();
        break;
    case 2: // the new transform applies first
        setWorldTransform(transform * mState.world);
        break;
    case 3:
        setWorldTransform(mState.world * transform);
        break;
    case 4:
        setWorldTransform(transform);
        break;
    default:
        break;
    }
}

bool MetafileCanvas::save()
{
    if (mSaved.size() >= static_cast<size_t>(metafile_limits::kMaxSavedStates)) {
        return false;
    }
    mSaved.push_back(mState);
    return true;
}

void MetafileCanvas::restore(int which)
{
    const int64_t count = static_cast<int64_t>(mSaved.size());
    const int64_t target = which < 0 ? count + which : static_cast<int64_t>(which) - 1;
    if (which == 0 || target < 0 || target >= count) {
        return;
    }
    mState = mSaved[static_cast<size_t>(target)];
    mSaved.resize(static_cast<size_t>(target));
    applyClip();
}

bool MetafileCanvas::charge(const QRectF& area)
{
    const QRectF box = area.normalized();
    if (mMeasuring) {
        if (box.isValid() && std::isfinite(box.width()) && std::isfinite(box.height())) {
            mMeasured = mMeasured ? mMeasured->united(box) : box;
        }
        return false;
    }
    const QRectF touched = box.intersected(QRectF(mImage.rect()));
    // Every operation costs something, even where it touches nothing.
    return mBudget.spend(64 + (touched.isValid() ? touched.width() * touched.height() : 0)) &&
           mPainter.isActive();
}

bool MetafileCanvas::begin(int rop2, const QRectF& area)
{
    if (!charge(area) || rop2 == 11) { // 11 leaves the destination alone
        return false;
    }
    setUpPainter(rop2);
    return true;
}

void MetafileCanvas::setUpPainter(int rop2)
{
    mPainter.setCompositionMode(raster_operation::binaryMode(rop2));
    mPainter.setTransform(QTransform());
    mPainter.setBackgroundMode(mState.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    mPainter.setBackground(mState.backColour);
}

void MetafileCanvas::paintPicturePath(const QPainterPath& path, bool fill, bool stroke)
{
    const bool filling = fill && !gdi::fillsNothing(mState.brush);
    const bool stroking = stroke && !gdi::drawsNothing(mState.pen);
    if (!filling && !stroking) {
        return;
    }
    QPainterPath shape = clampPath(path);
    const double penWidth = stroking ? std::clamp(penPixelWidth(), 1.0, 10000.0) : 0;
    const double halfPen = penWidth / 2;
    if (!begin(mState.rop2,
               shape.controlPointRect().adjusted(-halfPen, -halfPen, halfPen, halfPen))) {
        return;
    }
    // The raster engine's own work grows with the edges each row crosses,
    // which the area above does not show: a polygon zig-zagging across the
    // picture can keep it busy for minutes. It is counted before anything
    // is drawn, as one call cannot be stopped once it runs.
    const double height = mImage.height();
    if (!mBudget.spend((filling ? fill_work::ofFill(shape, height) : 0) +
                       (stroking ? fill_work::ofStroke(shape, height, penWidth) : 0))) {
        return;
    }
    shape.setFillRule(mState.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
    mPainter.setBrush(filling ? brushOf(mState.brush) : QBrush(Qt::NoBrush));
    mPainter.setPen(stroking ? gdi::toQPen(mState.pen, penPixelWidth()) : QPen(Qt::NoPen));
    mPainter.drawPath(shape);
}

void MetafileCanvas::draw(const QPainterPath& shape, bool fill, bool stroke)
{
    const QPainterPath mapped = logicalToPicture().map(shape);
    if (mRecordingPath) {
        mPath.addPath(mapped);
        return;
    }
    paintPicturePath(mapped, fill, stroke);
}

void MetafileCanvas::moveTo(QPointF point)
{
    mState.position = point;
    if (mRecordingPath) {
        mPath.moveTo(logicalToPicture().map(point));
    }
}

void MetafileCanvas::lineTo(QPointF point)
{
    if (mRecordingPath) {
        if (mPath.elementCount() == 0) {
            mPath.moveTo(logicalToPicture().map(mState.position));
        }
        mPath.lineTo(logicalToPicture().map(point));
    } else {
        QPainterPath line(mState.position);
        line.lineTo(point);
        draw(line, false, true);
    }
    mState.position = point;
}

void MetafileCanvas::polyline(const QPolygonF& points)
{
    if (points.size() < 2) {
        return;
    }
    QPainterPath line;
    line.addPolygon(points);
    draw(line, false, true);
}

void MetafileCanvas::polylineTo(const QPolygonF& points)
{
    for (const QPointF& point : points) {
        lineTo(point);
    }
}

void MetafileCanvas::polygon(const QPolygonF& points)
{
    polyPolygon({points});
}

void MetafileCanvas::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath shape;
    for (const QPolygonF& points : polygons) {
        if (points.size() >= 2) {
            shape.addPolygon(points);
            shape.closeSubpath();
        }
    }
    draw(shape, true, true);
}

void MetafileCanvas::polyPolyline(const std::vector<QPolygonF>& lines)
{
    for (const QPolygonF& points : lines) {
        polyline(points);
    }
}

void MetafileCanvas::polyBezier(const QPolygonF& points, bool fromCurrentPosition)
{
    QPainterPath curve;
    qsizetype next = 0;
    if (fromCurrentPosition) {
        curve.moveTo(mState.position);
    } else if (!points.isEmpty()) {
        curve.moveTo(points[0]);
        next = 1;
    }
    for (; next + 2 < points.size(); next += 3) {
        curve.cubicTo(points[next], points[next + 1], points[next + 2]);
    }
    if (curve.elementCount() < 2) {
        return;
    }
    if (fromCurrentPosition) {
        mState.position = curve.currentPosition();
        if (mRecordingPath) {
            // Continue the figure being recorded rather than starting one.
            const QPainterPath mapped = logicalToPicture().map(curve);
            if (mPath.elementCount() == 0) {
                mPath.moveTo(mapped.elementAt(0));
            }
            mPath.connectPath(mapped);
            return;
        }
    }
    draw(curve, false, true);
}

void MetafileCanvas::rectangle(const QRectF& box)
{
    QPainterPath shape;
    shape.addRect(box.normalized());
    draw(shape, true, true);
}

void MetafileCanvas::roundRectangle(const QRectF& box, QSizeF corner)
{
    QPainterPath shape;
    shape.addRoundedRect(box.normalized(), std::abs(corner.width()) / 2,
                         std::abs(corner.height()) / 2);
    draw(shape, true, true);
}

void MetafileCanvas::ellipse(const QRectF& box)
{
    QPainterPath shape;
    shape.addEllipse(box.normalized());
    draw(shape, true, true);
}

void MetafileCanvas::arc(const QRectF& rawBox, QPointF start, QPointF end, ArcKind kind)
{
    const QRectF box = rawBox.normalized();
    const double from = ellipseAngle(box, start);
    double sweep = ellipseAngle(box, end) - from;
    // Arcs run counter-clockwise as seen in the picture unless the clockwise
    // direction is set; a mapping that mirrors the picture mirrors the angles.
    bool clockwise = mState.clockwiseArcs;
    if (logicalToPicture().determinant() < 0) {
        clockwise = !clockwise;
    }
    if (clockwise) {
        sweep = -std::fmod(360 - std::fmod(sweep + 720, 360), 360);
        if (sweep == 0) {
            sweep = -360;
        }
    } else {
        sweep = std::fmod(sweep + 720, 360);
        if (sweep == 0) {
            sweep = 360;
        }
    }
    QPainterPath shape;
    switch (kind) {
    case ArcKind::Pie:
        shape.moveTo(box.center());
        shape.arcTo(box, from, sweep);
        shape.closeSubpath();
        draw(shape, true, true);
        break;
    case ArcKind::Chord:
        shape.arcMoveTo(box, from);
        shape.arcTo(box, from, sweep);
        shape.closeSubpath();
        draw(shape, true, true);
        break;
    case ArcKind::ArcTo:
        shape.moveTo(mState.position);
        shape.arcTo(box, from, sweep);
        mState.position = shape.currentPosition();
        draw(shape, false, true);
        break;
    case ArcKind::Arc:
        shape.arcMoveTo(box, from);
        shape.arcTo(box, from, sweep);
        draw(shape, false, true);
        break;
    }
}

void MetafileCanvas::angleArc(QPointF centre, double radius, double startDegrees,
                              double sweepDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees) || !std::isfinite(radius)) {
        return;
    }
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath shape(mState.position);
    shape.arcTo(box, std::fmod(startDegrees, 360), std::clamp(sweepDegrees, -360.0, 360.0));
    mState.position = shape.currentPosition();
    draw(shape, false, true);
}

void MetafileCanvas::setPixel(QPointF point, const QColor& colour)
{
    const QPointF p = logicalToPicture().map(point);
    const QRectF pixel(std::floor(clampCoordinate(p.x())), std::floor(clampCoordinate(p.y())), 1,
                       1);
    if (mRecordingPath || !begin(13, pixel)) {
        return;
    }
    mPainter.fillRect(pixel, colour);
}

QRect MetafileCanvas::pictureRect(const QRectF& logical) const
{
    // The device's rectangles leave out their right and bottom edges.
    const QRectF box = logicalToPicture().mapRect(logical.normalized());
    const auto edge = [](double value) {
        return static_cast<int>(std::lround(clampCoordinate(value)));
    };
    return QRect(QPoint(edge(box.left()), edge(box.top())),
                 QPoint(edge(box.right()) - 1, edge(box.bottom()) - 1));
}

QRegion MetafileCanvas::toPicture(const QRegion& logical) const
{
    std::vector<QRect> rects;
    for (const QRect& rect : logical) {
        rects.push_back(pictureRect(QRectF(rect.x(), rect.y(), rect.width(), rect.height())));
    }
    return uniteRects(std::move(rects));
}

void MetafileCanvas::fillRegion(const QRegion& region, const GdiBrush& brush)
{
    if (mRecordingPath || gdi::fillsNothing(brush)) {
        return;
    }
    const QRegion area = toPicture(region);
    if (!begin(13, area.boundingRect())) {
        return;
    }
    for (const QRect& rect : area) {
        mPainter.fillRect(rect, brushOf(brush));
    }
}

void MetafileCanvas::frameRegion(const QRegion& region, const GdiBrush& brush, QSizeF frame)
{
    const QRegion inside = toPicture(region);
    if (mRecordingPath || gdi::fillsNothing(brush) || !begin(13, inside.boundingRect())) {
        return;
    }
    const QTransform t = logicalToPicture();
    const int fx =
        std::clamp(static_cast<int>(std::lround(std::abs(frame.width() * t.m11()))), 1, 1000);
    const int fy =
        std::clamp(static_cast<int>(std::lround(std::abs(frame.height() * t.m22()))), 1, 1000);
    const QRegion inner = inside.translated(fx, 0) & inside.translated(-fx, 0) &
                          inside.translated(0, fy) & inside.translated(0, -fy);
    for (const QRect& rect : inside - inner) {
        mPainter.fillRect(rect, brushOf(brush));
    }
}

void MetafileCanvas::invertRegion(const QRegion& region)
{
    const QRegion area = toPicture(region);
    if (mRecordingPath || !begin(13, area.boundingRect())) {
        return;
    }
    mPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const QRect& rect : area) {
        mPainter.fillRect(rect, Qt::black);
    }
}

QBrush MetafileCanvas::brushOf(const GdiBrush& brush) const
{
    if (!brush.monochrome || brush.pattern.isNull() || gdi::fillsNothing(brush)) {
        return gdi::toQBrush(brush);
    }
    QImage pattern = brush.pattern.convertToFormat(QImage::Format_RGB32);
    const QRgb text = mState.textColour.rgb();
    const QRgb back = mState.backColour.rgb();
    for (int y = 0; y < pattern.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pattern.scanLine(y));
        for (int x = 0; x < pattern.width(); ++x) {
            line[x] = qGray(line[x]) < 128 ? text : back;
        }
    }
    return QBrush(pattern);
}

void MetafileCanvas::gradientRectangle(const GradientVertex& from, const GradientVertex& to,
                                       bool down)
{
    const QTransform t = logicalToPicture();
    QPainterPath shape;
    shape.addRect(QRectF(from.point, to.point).normalized());
    shape = clampPath(t.map(shape));
    if (mRecordingPath || !begin(13, shape.controlPointRect())) {
        return;
    }
    // The colours run from the first corner's side to the second's, as the
    // device shades them, whichever way the corners lie.
    const QPointF a = t.map(from.point);
    const QPointF b = t.map(to.point);
    QLinearGradient gradient(down ? QPointF(0, a.y()) : QPointF(a.x(), 0),
                             down ? QPointF(0, b.y()) : QPointF(b.x(), 0));
    gradient.setColorAt(0, from.colour);
    gradient.setColorAt(1, to.colour);
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(gradient);
    mPainter.drawPath(shape);
}

void MetafileCanvas::gradientTriangle(const std::array<GradientVertex, 3>& corners)
{
    const QTransform t = logicalToPicture();
    std::array<QPointF, 3> p;
    QPolygonF polygon;
    for (size_t i = 0; i < 3; ++i) {
        p[i] = t.map(corners[i].point);
        polygon << p[i];
    }
    QPainterPath shape;
    shape.addPolygon(polygon);
    shape.closeSubpath();
    shape = clampPath(shape);
    const QRect box = shape.controlPointRect().toAlignedRect() & mImage.rect();
    if (mRecordingPath || box.isEmpty() || !begin(13, shape.controlPointRect())) {
        return;
    }
    // Each pixel takes the corners' colours weighted by where it lies
    // between them.
    const double area = (p[1].x() - p[0].x()) * (p[2].y() - p[0].y()) -
                        (p[2].x() - p[0].x()) * (p[1].y() - p[0].y());
    if (std::abs(area) < 1e-9) {
        return;
    }
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < box.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < box.width(); ++x) {
            const QPointF at(box.left() + x + 0.5, box.top() + y + 0.5);
            const double w1 = ((p[2].x() - p[1].x()) * (at.y() - p[1].y()) -
                               (p[2].y() - p[1].y()) * (at.x() - p[1].x())) /
                              area;
            const double w2 = ((p[0].x() - p[2].x()) * (at.y() - p[2].y()) -
                               (p[0].y() - p[2].y()) * (at.x() - p[2].x())) /
                              area;
            const double w0 = 1 - w1 - w2;
            const std::array<double, 3> weights = {
                std::clamp(w1, 0.0, 1.0), std::clamp(w2, 0.0, 1.0), std::clamp(w0, 0.0, 1.0)};
            double r = 0, g = 0, b = 0;
            for (size_t i = 0; i < 3; ++i) {
                r += weights[i] * corners[i].colour.red();
                g += weights[i] * corners[i].colour.green();
                b += weights[i] * corners[i].colour.blue();
            }
            line[x] = qRgb(int(r + 0.5), int(g + 0.5), int(b + 0.5));
        }
    }
    mPainter.setPen(Qt::NoPen);
    QBrush brush(layer);
    brush.setTransform(QTransform::fromTranslate(box.left(), box.top()));
    mPainter.setBrush(brush);
    mPainter.drawPath(shape);
}

void MetafileCanvas::patternBlt(const QRectF& box, uint32_t rasterOperation)
{
    QPainterPath shape;
    shape.addRect(box.normalized());
    shape = clampPath(logicalToPicture().map(shape));
    if (mRecordingPath || !begin(13, shape.controlPointRect())) {
        return;
    }
    const raster_operation::Ternary operation(rasterOperation);
    if (operation.usesPattern() && gdi::fillsNothing(mState.brush)) {
        return;
    }
    if (operation.isPatternCopy()) {
        mPainter.setPen(Qt::NoPen);
        mPainter.setBrush(brushOf(mState.brush));
        mPainter.drawPath(shape);
        return;
    }
    blitWithOperation(operation, shape, {});
}

void MetafileCanvas::drawBitmap(const QRectF& target, const QImage& source,
                                const QRectF& sourceRect, uint32_t rasterOperation, double opacity)
{
    if (mRecordingPath || source.isNull() || sourceRect.width() == 0 || sourceRect.height() == 0 ||
        target.width() == 0 || target.height() == 0) {
        return;
    }
    // Maps the source rectangle onto the target; negative sizes mirror.
    const QTransform placement = QTransform::fromTranslate(-sourceRect.x(), -sourceRect.y()) *
                                 QTransform::fromScale(target.width() / sourceRect.width(),
                                                       target.height() / sourceRect.height()) *
                                 QTransform::fromTranslate(target.x(), target.y());
    const QTransform whole = placement * logicalToPicture();
    const QRectF onPicture = whole.mapRect(sourceRect);
    if (!std::isfinite(onPicture.width()) || !std::isfinite(onPicture.height()) ||
        std::abs(onPicture.width()) > kFarAway || std::abs(onPicture.height()) > kFarAway ||
        std::abs(onPicture.left()) > kFarAway || std::abs(onPicture.top()) > kFarAway ||
        !begin(13, onPicture) || !onPicture.intersects(QRectF(mImage.rect()))) {
        return;
    }
    const raster_operation::Ternary operation(rasterOperation == 0 ? kSourceCopy : rasterOperation);
    if (!operation.isSourceCopy()) {
        if (operation.usesPattern() && gdi::fillsNothing(mState.brush)) {
            return;
        }
        QPainterPath area;
        area.addPolygon(whole.map(QPolygonF(sourceRect)));
        area.closeSubpath();
        // Raster operations work on colours alone; the bitmap's alpha plays no part.
        const QImage opaque = source.convertToFormat(QImage::Format_RGB32);
        blitWithOperation(operation, area, [&](QPainter& layer) {
            layer.setTransform(whole, true);
            layer.drawImage(sourceRect.topLeft(), opaque, sourceRect);
        });
        return;
    }
    mPainter.setTransform(whole);
    mPainter.setOpacity(std::clamp(opacity, 0.0, 1.0));
    mPainter.drawImage(sourceRect.topLeft(), source, sourceRect);
    mPainter.setOpacity(1.0);
    mPainter.setTransform(QTransform());
}

void MetafileCanvas::blitWithOperation(const raster_operation::Ternary& operation,
                                       const QPainterPath& area,
                                       const std::function<void(QPainter&)>& drawSource)
{
    const QRect box = area.controlPointRect().toAlignedRect() & mImage.rect();
    if (box.isEmpty()) {
        return;
    }
    // Combining pixel by pixel costs some ten times what plain painting does;
    // the budget that stops endless files counts it so.
    if (!mBudget.spend(9.0 * box.width() * box.height())) {
        return;
    }
    // Bands of about a million pixels keep the layers small on large pictures.
    const int bandHeight = std::max(1, (1 << 20) / box.width());
    for (int top = box.top(); top <= box.bottom(); top += bandHeight) {
        const QRect band(box.left(), top, box.width(),
                         std::min(bandHeight, box.bottom() + 1 - top));
        // A transparent layer over the band, drawn on in picture pixels.
        const auto layer = [&band](const std::function<void(QPainter&)>& paint) {
            QImage image(band.size(), QImage::Format_ARGB32_Premultiplied);
            if (!image.isNull()) {
                image.fill(Qt::transparent);
                QPainter painter(&image);
                painter.translate(-band.topLeft());
                paint(painter);
            }
            return image;
        };
        QImage source;
        QImage covered;
        if (drawSource && operation.usesSource()) {
            // The bitmap is opaque, so where it lands is what it covers.
            source = layer(drawSource);
            covered = source;
        } else {
            covered = layer([&area](QPainter& painter) { painter.fillPath(area, Qt::white); });
        }
        QImage pattern;
        if (operation.usesPattern()) {
            // A hatched brush shows the background colour between its lines.
            pattern = layer([&](QPainter& painter) {
                painter.fillRect(band, mState.backColour);
                painter.fillRect(band, brushOf(mState.brush));
            });
        }
        if (covered.isNull() || (operation.usesPattern() && pattern.isNull())) {
            return;
        }
        const QImage result = operation.combine(mImage, band.topLeft(), pattern, source, covered);
        // Drawn back through the painter so that the clip holds.
        mPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        mPainter.setTransform(QTransform());
        mPainter.drawImage(band.topLeft(), result);
    }
}

QFont MetafileCanvas::pictureFont(double& pixelHeight) const
{
    const GdiFont& logicalFont = mState.font;
    const QTransform t = logicalToPicture();
    const double scale = std::hypot(t.m21(), t.m22());
    const double logical =
        logicalFont.height == 0 ? 12.0 : std::abs(static_cast<double>(logicalFont.height));
    pixelHeight = std::clamp(logical * scale, 1.0, 4000.0);
    // The families by the tool's own rule, never by what else is installed.
    QFont font;
    font.setFamilies(font_choice::familiesFor(logicalFont));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelHeight))));
    if (logicalFont.height > 0) {
        // A positive height is the whole cell; the character size is smaller.
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) {
            font.setPixelSize(
                std::max(1, static_cast<int>(std::lround(pixelHeight * pixelHeight / cell))));
        }
    }
    font.setWeight(static_cast<QFont::Weight>(std::clamp(
        logicalFont.weight == 0 ? 400 : static_cast<int>(logicalFont.weight), 100, 900)));
    font.setItalic(logicalFont.italic);
    font.setUnderline(logicalFont.underline);
    font.setStrikeOut(logicalFont.strikeOut);
    // Smoothed or crisp at this size, as the font itself asks the device.
    const QString key = font.key();
    auto known = mSmoothing.find(key);
    if (known == mSmoothing.end()) {
        known = mSmoothing.emplace(key, font_choice::smoothed(font)).first;
    }
    font.setStyleStrategy(known->second ? QFont::PreferAntialias : QFont::NoAntialias);
    if (logicalFont.width > 0) {
        const double wanted = logicalFont.width * std::hypot(t.m11(), t.m12());
        const double average = QFontMetricsF(font).averageCharWidth();
        if (average > 0) {
            font.setStretch(
                std::clamp(static_cast<int>(std::lround(100 * wanted / average)), 1, 4000));
        }
    }
    return font;
}

void MetafileCanvas::text(QPointF reference, const QString& content,
                          const std::vector<double>& advances, uint32_t options,
                          const std::optional<QRectF>& box)
{
    if (mRecordingPath) {
        return;
    }
    const QTransform t = logicalToPicture();
    const bool updatePosition = mState.textAlign & kAlignUpdatePosition;
    const QPointF start = updatePosition ? mState.position : reference;
    const double xScale = std::hypot(t.m11(), t.m12());
    double logicalWidth = 0;
    for (qsizetype i = 0; i < content.size() && i < static_cast<qsizetype>(advances.size()); ++i) {
        logicalWidth += advances[static_cast<size_t>(i)];
    }
    QPainterPath boxShape;
    if (box) {
        boxShape.addRect(box->normalized());
        boxShape = clampPath(t.map(boxShape));
        if ((options & kTextOpaque) && begin(13, boxShape.controlPointRect())) {
            mPainter.fillPath(boxShape, mState.backColour);
        }
    }
    if (!mDrawText || content.isEmpty()) {
        if (updatePosition) {
            mState.position = start + QPointF(logicalWidth, 0);
        }
        return;
    }
    double pixelHeight = 0;
    const QFont font = pictureFont(pixelHeight);
    const QFontMetricsF metrics(font);
    const double extra = mState.textCharExtra * xScale;
    double width = 0;
    std::vector<double> steps;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const double step = i < static_cast<qsizetype>(advances.size())
                                ? advances[static_cast<size_t>(i)] * xScale
                                : metrics.horizontalAdvance(content[i]) + extra;
        steps.push_back(step);
        width += step;
    }
    if (advances.empty()) {
        logicalWidth = xScale > 0 ? width / xScale : 0;
    }
    if (updatePosition) {
        mState.position = start + QPointF(logicalWidth, 0);
    }
    double x = 0;
    switch (mState.textAlign & kAlignHorizontalMask) {
    case kAlignRight:
        x = -width;
        break;
    case kAlignCentre:
        x = -width / 2;
        break;
    default:
        break;
    }
    double y = metrics.ascent();
    switch (mState.textAlign & kAlignVerticalMask) {
    case kAlignBaseline:
        y = 0;
        break;
    case kAlignBottom:
        y = -metrics.descent();
        break;
    default:
        break;
    }
    const QPointF origin = t.map(start);
    QTransform placement;
    placement.translate(clampCoordinate(origin.x()), clampCoordinate(origin.y()));
    // The escapement turns the text counter-clockwise on the device; where
    // the mapping mirrors one axis, the device turns it the other way.
    const double escapement =
        t.m11() * t.m22() < 0 ? -mState.font.escapement : mState.font.escapement;
    placement.rotate(std::fmod(-escapement / 10.0, 360.0));
    const QRectF cell(x, y - metrics.ascent(), width, metrics.height());
    // Each glyph costs its square as well, wherever it lands: large glyphs
    // are drawn as outlines, and drawing is slow even where they are clipped.
    if (!mBudget.spend(static_cast<double>(content.size()) *
                       std::min(pixelHeight * pixelHeight, 1.0e6)) ||
        !begin(13, placement.mapRect(cell))) {
        return;
    }
    mPainter.save();
    if (box && (options & kTextClipped)) {
        mPainter.setClipPath(boxShape, Qt::IntersectClip);
    }
    mPainter.setTransform(placement);
    if (mState.opaqueBackground) {
        mPainter.fillRect(cell, mState.backColour);
    }
    mPainter.setFont(font);
    mPainter.setPen(mState.textColour);
    mPainter.setBackgroundMode(Qt::TransparentMode);
    if (advances.empty() && extra == 0) {
        mPainter.drawText(QPointF(x, y), content);
    } else {
        for (qsizetype i = 0; i < content.size(); ++i) {
            mPainter.drawText(QPointF(x, y), QString(content[i]));
            x += steps[static_cast<size_t>(i)];
        }
    }
    mPainter.restore();
}

void MetafileCanvas::applyClip()
{
    if (!mPainter.isActive()) {
        return;
    }
    mPainter.setTransform(QTransform());
    if (mState.clip) {
        mPainter.setClipRegion(*mState.clip);
    } else {
        mPainter.setClipping(false);
    }
}

void MetafileCanvas::combineClip(const QRegion& region, uint32_t mode)
{
    const QRegion current = mState.clip.value_or(QRegion(mImage.rect()));
    switch (mode) {
    case 1:
        mState.clip = current & region;
        break;
    case 2:
        mState.clip = current | region;
        break;
    case 3:
        mState.clip = current ^ region;
        break;
    case 4:
        mState.clip = current - region;
        break;
    case 5:
        mState.clip = region;
        break;
    default:
        return;
    }
    applyClip();
}

void MetafileCanvas::intersectClip(const QRectF& box)
{
    combineClip(QRegion(pictureRect(box)), 1);
}

void MetafileCanvas::excludeClip(const QRectF& box)
{
    combineClip(QRegion(pictureRect(box)), 4);
}

void MetafileCanvas::offsetClip(QPointF offset)
{
    if (!mState.clip) {
        return;
    }
    const QTransform t = logicalToPicture();
    const QPointF shift = t.map(offset) - t.map(QPointF(0, 0));
    mState.clip =
        mState.clip->translated(static_cast<int>(std::lround(clampCoordinate(shift.x()))),
                                static_cast<int>(std::lround(clampCoordinate(shift.y()))));
    applyClip();
}

void MetafileCanvas::combineDeviceClip(const QRegion& region, uint32_t mode)
{
    if (region.isEmpty() && mode == 5) {
        mState.clip.reset();
        applyClip();
        return;
    }
    QRegion picture;
    for (const QRect& rect : region) {
        const QRectF box = mDeviceToPicture.mapRect(QRectF(rect));
        picture += box.toAlignedRect();
    }
    combineClip(picture, mode);
}

void MetafileCanvas::selectLogicalClip(const std::optional<QRegion>& region)
{
    if (!region) {
        mState.clip.reset();
        applyClip();
        return;
    }
    combineClip(toPicture(*region), 5);
}

QRegion MetafileCanvas::pictureRegion(const QPainterPath& path) const
{
    QPainterPath shape = clampPath(path);
    shape.setFillRule(mState.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
    return QRegion(shape.toFillPolygon().toPolygon(),
                   mState.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
}

void MetafileCanvas::beginPath()
{
    mRecordingPath = true;
    mPath = QPainterPath();
}

void MetafileCanvas::endPath()
{
    mRecordingPath = false;
}

void MetafileCanvas::abortPath()
{
    mRecordingPath = false;
    mPath = QPainterPath();
}

void MetafileCanvas::closeFigure()
{
    if (mRecordingPath) {
        mPath.closeSubpath();
    }
}

void MetafileCanvas::fillPath()
{
    mRecordingPath = false;
    paintPicturePath(mPath, true, false);
    mPath = QPainterPath();
}

void MetafileCanvas::strokePath()
{
    mRecordingPath = false;
    paintPicturePath(mPath, false, true);
    mPath = QPainterPath();
}

void MetafileCanvas::strokeAndFillPath()
{
    mRecordingPath = false;
    paintPicturePath(mPath, true, true);
    mPath = QPainterPath();
}

void MetafileCanvas::selectClipPath(uint32_t mode)
{
    mRecordingPath = false;
    combineClip(pictureRegion(mPath), mode);
    mPath = QPainterPath();
}

} // namespace vimbrel
