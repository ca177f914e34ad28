#pragma once

#include "viewer/pictures/picture_loader.h"

namespace vimbrel {

// How this platform draws WMF and EMF pictures for their small images: on
// Linux the tool's own metafile player.
MetafileDrawer platformMetafileDrawer();

} // namespace vimbrel
