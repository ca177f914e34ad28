#pragma once

#include <QIcon>
#include <QPixmap>

namespace vimbrel {

// The program's own picture, drawn here at any size: a framed landscape in
// front of a browser window. The About box shows it; the window icon is made
// of it.
QPixmap programPicture(int size);

// The program icon in the sizes the desktop asks for.
QIcon programIcon();

} // namespace vimbrel
