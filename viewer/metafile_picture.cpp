#include "viewer/metafile_picture.h"

namespace vimbrel {

// Metafiles are not drawn yet: they fail like any picture that cannot be
// loaded, so their entries stay empty.
QImage loadMetafilePicture(const std::string&)
{
    return {};
}

} // namespace vimbrel
