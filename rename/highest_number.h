#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/options.h"

namespace vimbrel {

// The highest number already in use among `names` (file names without
// folder): a name is numbered when its part before the last "." is, in upper
// case, the upper-cased prefix (EditFHead) followed by a rest that reads as a
// whole number other than -1. Numbered names are taken out of `names`; the
// others stay in their order. 0 when no name is numbered.
int32_t FindHighestNumber(const Options& options, std::vector<std::string>& names);

} // namespace vimbrel
