#include "viewer/metafile/metafile_player.h"

#include <QGuiApplication>

#include "viewer/metafile/emf_player.h"
#include "viewer/metafile/wmf_player.h"

namespace vimbrel {

QImage playMetafile(std::span<const uint8_t> bytes, DrawBudget& budget)
{
    // Text needs the font system, which only a GUI application has.
    const bool drawText = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (looksLikeEmf(bytes)) {
        return playEmf(bytes, drawText, budget);
    }
    return playWmf(bytes, drawText, budget);
}

} // namespace vimbrel
