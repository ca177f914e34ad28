// Feeds arbitrary bytes to the metafile player: it must return a picture or
// a null image, never crash, hang or read outside its input.
#include <cstdint>
#include <cstdlib>
#include <span>

#include <QGuiApplication>

#include "viewer/metafile/metafile_player.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Fonts come from a GUI application; the offscreen platform needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The budget every picture gets: a file that asks for endless drawing
    // is stopped, never hangs.
    vimbrel::DrawBudget budget;
    const QImage image = vimbrel::playMetafile(std::span<const uint8_t>(data, size), budget);
    if (!image.isNull() && (image.width() > 4096 || image.height() > 4096)) {
        std::abort();
    }
    return 0;
}
