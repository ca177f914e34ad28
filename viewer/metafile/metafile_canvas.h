#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include "viewer/metafile/drawing_state.h"
#include "viewer/metafile/metafile_limits.h"
#include "viewer/metafile/raster_operation.h"
#include "viewer/pictures/draw_budget.h"

namespace vimbrel {

// The surface both metafile players draw on: a white picture, the drawing
// state with its saved copies, and the drawing operations in the logical
// units of the records. Everything is mapped to picture pixels before it is
// drawn, so hatches and one-pixel pens come out as on the device.
class MetafileCanvas
{
public:
    enum class ArcKind
    {
        Arc,
        ArcTo,
        Chord,
        Pie
    };

    // A picture of `size` pixels; `deviceToPicture` maps the metafile's device
    // units to its pixels, and the device has the given units per millimetre
    // (for the fixed mapping modes). `drawText` is false where no font system
    // is available. What is drawn is counted against `budget`, which must
    // outlive the canvas.
    MetafileCanvas(QSize size, const QTransform& deviceToPicture, double deviceUnitsPerMmX,
                   double deviceUnitsPerMmY, bool drawText, DrawBudget& budget);

    // A canvas without a picture that only collects the bounds, in device
    // units, of what would be drawn: for metafiles that state no size.
    struct Measuring
    {
    };
    MetafileCanvas(Measuring, double deviceUnitsPerMmX, double deviceUnitsPerMmY, bool drawText,
                   DrawBudget& budget);
    ~MetafileCanvas();
    MetafileCanvas(const MetafileCanvas&) = delete;
    MetafileCanvas& operator=(const MetafileCanvas&) = delete;

    bool isValid() const { return mMeasuring || !mImage.isNull(); }

    // True once the drawing must stop: it has done more work than one file
    // may, taken too long, or was stopped from outside.
    bool exhausted() { return !mBudget.goOn(); }

    // What a measuring canvas found; nothing when nothing was drawn.
    std::optional<QRectF> measured() const { return mMeasured; }

    // Ends drawing and hands over the picture.
    QImage finish();

    DrawingState& state() { return mState; }
    const DrawingState& state() const { return mState; }

    void setMapMode(int mode);
    void setWindowOrg(QPointF origin);
    void setWindowExt(QSizeF extent);
    void setViewportOrg(QPointF origin);
    void setViewportExt(QSizeF extent);
    void setWorldTransform(const QTransform& transform);
    void modifyWorldTransform(const QTransform& transform, uint32_t mode);

    // False when too many states are saved already.
    bool save();
    // `which` < 0: that many levels back; > 0: the saved state of that number.
    // Requests for states that were never saved are ignored.
    void restore(int which);

    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& lines);
    void polyBezier(const QPolygonF& points, bool fromCurrentPosition);
    void rectangle(const QRectF& box);
    void roundRectangle(const QRectF& box, QSizeF corner);
    void ellipse(const QRectF& box);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void setPixel(QPointF point, const QColor& colour);

    // The region fills of WMF and EMF, in logical units.
    void fillRegion(const QRegion& region, const GdiBrush& brush);
    void frameRegion(const QRegion& region, const GdiBrush& brush, QSizeF frame);
    void invertRegion(const QRegion& region);

    // A corner of a gradient fill: a point (logical) and its colour.
    struct GradientVertex
    {
        QPointF point;
        QColor colour;
    };
    // The rectangle between two corners shaded from the first's colour to
    // the second's, across (left to right) or down.
    void gradientRectangle(const GradientVertex& from, const GradientVertex& to, bool down);
    // The triangle shaded between its corners' colours.
    void gradientTriangle(const std::array<GradientVertex, 3>& corners);

    // A block transfer without a source bitmap: the brush and the picture
    // combined by the raster operation (pattern copy, inversion, black, ...).
    void patternBlt(const QRectF& box, uint32_t rasterOperation);

    // Draws `source` (part `sourceRect`, in its pixels) into `target` (logical),
    // combined with the picture by the raster operation, at `opacity`.
    void drawBitmap(const QRectF& target, const QImage& source, const QRectF& sourceRect,
                    uint32_t rasterOperation, double opacity = 1.0);

    // Text at `reference` (logical) in the selected font and text colour,
    // aligned by the text alignment. `advances` (logical units, one per
    // character, may be empty) space the characters. `box` with `options`
    // fills it (opaque) and/or clips the text to it.
    void text(QPointF reference, const QString& text, const std::vector<double>& advances,
              uint32_t options, const std::optional<QRectF>& box);

    void intersectClip(const QRectF& box);
    void excludeClip(const QRectF& box);
    void offsetClip(QPointF offset);
    // Combines a region in device units with the clip (RGN_AND, OR, XOR, DIFF,
    // COPY); an empty region with copy removes the clip.
    void combineDeviceClip(const QRegion& region, uint32_t mode);
    // The same with a region given in logical units.
    void selectLogicalClip(const std::optional<QRegion>& region);

    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(uint32_t mode);

private:
    QTransform logicalToPicture() const;
    double penPixelWidth() const;
    // Fills and/or strokes `shape` (logical units), or adds it to the path
    // being recorded.
    void draw(const QPainterPath& shape, bool fill, bool stroke);
    void paintPicturePath(const QPainterPath& path, bool fill, bool stroke);
    void applyClip();
    // Counts `area` (picture pixels) against the budget and, when measuring,
    // adds it to the bounds. False when nothing is to be painted.
    bool charge(const QRectF& area);
    void setUpPainter(int rop2);
    // charge() and, when painting, setUpPainter(); false for the no-op mix.
    bool begin(int rop2, const QRectF& area);
    // Combines the brush, the source that `drawSource` paints (in picture
    // pixels; none for pattern blits) and the picture under `area` by a
    // raster operation, and draws the result through the clip.
    void blitWithOperation(const raster_operation::Ternary& operation, const QPainterPath& area,
                           const std::function<void(QPainter&)>& drawSource);
    QRect pictureRect(const QRectF& logical) const;
    QRegion toPicture(const QRegion& logical) const;
    QRegion pictureRegion(const QPainterPath& path) const;
    void combineClip(const QRegion& region, uint32_t mode);
    QFont pictureFont(double& pixelHeight) const;
    // The brush as it paints now: a monochrome pattern takes the text and
    // background colours of the moment.
    QBrush brushOf(const GdiBrush& brush) const;

    QImage mImage;
    QPainter mPainter;
    QTransform mDeviceToPicture;
    double mUnitsPerMmX;
    double mUnitsPerMmY;
    bool mDrawText;
    DrawBudget& mBudget;
    DrawingState mState;
    std::vector<DrawingState> mSaved;
    bool mMeasuring = false;
    std::optional<QRectF> mMeasured;
    // Whether text is smoothed, by font and size (font_choice::smoothed).
    mutable std::map<QString, bool> mSmoothing;
    bool mRecordingPath = false;
    QPainterPath mPath; // in picture pixels
};

} // namespace vimbrel
