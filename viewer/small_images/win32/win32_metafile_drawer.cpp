#include "viewer/small_images/metafile_drawer.h"

namespace vimbrel {

// Metafiles get no small image on Windows until GDI draws them here; the run
// treats them as any picture that cannot be drawn.
MetafileDrawer platformMetafileDrawer()
{
    return nullptr;
}

} // namespace vimbrel
