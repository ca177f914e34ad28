#pragma once

#include <string>
#include <string_view>

#include "settings/options.h"

namespace vimbrel {

// The preview shown beside "[テスト] TEST.TXT ==>": the new name the rule
// gives TEST.TXT with the start number's text as it stands in its spin box
// (an emptied box gives an empty number text, padded like any other).
std::string SampleText(const Options& options, std::string_view spinFCntText);

} // namespace vimbrel
