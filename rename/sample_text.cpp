#include "rename/sample_text.h"

#include "rename/new_name.h"

namespace vimbrel {

std::string SampleText(const Options& options, std::string_view spinFCntText)
{
    return MakeNewName(options, "TEST.TXT", spinFCntText);
}

} // namespace vimbrel
