#include "viewer/pages/page_values.h"

namespace vimbrel {

const std::string& PageValues::smallNameOf(size_t i) const
{
    static const std::string none;
    return i < SmallNames.size() ? SmallNames[i] : none;
}

} // namespace vimbrel
