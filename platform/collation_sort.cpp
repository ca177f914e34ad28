#include <algorithm>

#include "platform/collation.h"

namespace vimbrel {

void Collator::sort(std::vector<std::string>& names) const
{
    std::sort(names.begin(), names.end(),
              [this](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
}

} // namespace vimbrel
