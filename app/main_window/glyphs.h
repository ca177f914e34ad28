#pragma once

#include <QIcon>

namespace vimbrel {

// The small pictures of the window's flat buttons, drawn here so that the
// tool carries no image files of its own. The style greys them out when their
// button is disabled.
enum class Glyph
{
    Show,    // 表示: a framed landscape
    Version, // Ver: an "i" in a circle
    Help,    // Help: a "?" in a circle
    Folder,  // 指定: a folder
    Execute, // 実行: a name tag with an arrow
    Undo     // 元に戻す: an arrow turning back
};

QIcon glyphIcon(Glyph glyph);

} // namespace vimbrel
