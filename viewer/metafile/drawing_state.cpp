#include "viewer/metafile/drawing_state.h"

#include <cmath>

namespace vimbrel {

std::optional<QSizeF> DrawingState::fixedScale(double deviceUnitsPerMmX,
                                               double deviceUnitsPerMmY) const
{
    double mmPerUnit = 0;
    switch (mapMode) {
    case LoMetric:
        mmPerUnit = 0.1;
        break;
    case HiMetric:
        mmPerUnit = 0.01;
        break;
    case LoEnglish:
        mmPerUnit = 0.254;
        break;
    case HiEnglish:
        mmPerUnit = 0.0254;
        break;
    case Twips:
        mmPerUnit = 25.4 / 1440;
        break;
    case Text:
        return QSizeF(1, 1);
    default:
        return std::nullopt;
    }
    return QSizeF(mmPerUnit * deviceUnitsPerMmX, -mmPerUnit * deviceUnitsPerMmY);
}

void DrawingState::setMapMode(int mode, double deviceUnitsPerMmX, double deviceUnitsPerMmY)
{
    if (mode < Text || mode > Anisotropic) {
        return;
    }
    const auto previous = fixedScale(deviceUnitsPerMmX, deviceUnitsPerMmY);
    mapMode = mode;
    if ((mode == Isotropic || mode == Anisotropic) && previous) {
        windowExt = QSizeF(1, 1);
        viewportExt = *previous;
    }
}

QTransform DrawingState::pageTransform(double deviceUnitsPerMmX, double deviceUnitsPerMmY) const
{
    QSizeF scale;
    if (const auto fixed = fixedScale(deviceUnitsPerMmX, deviceUnitsPerMmY)) {
        scale = *fixed;
    } else {
        scale = QSizeF(viewportExt.width() / windowExt.width(),
                       viewportExt.height() / windowExt.height());
        if (mapMode == Isotropic) {
            // Both axes take the smaller scale and keep their own direction.
            const double both = std::min(std::abs(scale.width()), std::abs(scale.height()));
            scale = QSizeF(std::copysign(both, scale.width()), std::copysign(both, scale.height()));
        }
    }
    return QTransform(scale.width(), 0, 0, scale.height(),
                      viewportOrg.x() - windowOrg.x() * scale.width(),
                      viewportOrg.y() - windowOrg.y() * scale.height());
}

} // namespace vimbrel
