#pragma once

#include <cstdint>
#include <optional>

#include <QColor>
#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>

#include "viewer/metafile/gdi_objects.h"

namespace vimbrel {

// The device context of metafile playback: selected objects, colours, modes,
// the mapping from logical to device units, the current position and the clip.
// Saving the drawing state copies all of it.
struct DrawingState
{
    enum MapMode
    {
        Text = 1,
        LoMetric = 2,
        HiMetric = 3,
        LoEnglish = 4,
        HiEnglish = 5,
        Twips = 6,
        Isotropic = 7,
        Anisotropic = 8
    };

    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColour = Qt::black;
    QColor backColour = Qt::white;
    bool opaqueBackground = true;
    bool windingFill = false;
    uint32_t textAlign = 0;
    int rop2 = 13; // copy pen
    int textCharExtra = 0;
    bool clockwiseArcs = false;

    int mapMode = Text;
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    QTransform world;

    QPointF position;            // current position, logical
    std::optional<QRegion> clip; // in picture pixels; nothing = unclipped

    // Changes the mapping mode. Entering the isotropic or anisotropic mode
    // from a fixed one keeps the fixed mode's scale, as the device does.
    void setMapMode(int mode, double deviceUnitsPerMmX, double deviceUnitsPerMmY);

    // Logical to device units for the mapping mode, window and viewport.
    QTransform pageTransform(double deviceUnitsPerMmX, double deviceUnitsPerMmY) const;

private:
    // Device units per logical unit of the fixed modes (y grows upwards).
    std::optional<QSizeF> fixedScale(double deviceUnitsPerMmX, double deviceUnitsPerMmY) const;
};

} // namespace vimbrel
