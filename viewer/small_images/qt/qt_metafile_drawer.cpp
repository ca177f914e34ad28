#include "viewer/metafile/metafile_picture.h"
#include "viewer/small_images/metafile_drawer.h"

namespace vimbrel {

MetafileDrawer platformMetafileDrawer()
{
    return &loadMetafileRaster;
}

} // namespace vimbrel
