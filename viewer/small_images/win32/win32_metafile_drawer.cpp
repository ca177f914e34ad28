#include "viewer/pictures/win32/gdi_metafile.h"
#include "viewer/small_images/metafile_drawer.h"

namespace vimbrel {

MetafileDrawer platformMetafileDrawer()
{
    return &gdi::loadMetafile;
}

} // namespace vimbrel
