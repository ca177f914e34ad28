#include "rename/highest_number.h"

#include <algorithm>
#include <string_view>

#include "platform/byte_text.h"
#include "platform/whole_number.h"
#include "rename/new_name.h"

namespace vimbrel {

int32_t FindHighestNumber(const Options& options, std::vector<std::string>& names)
{
    const std::string prefix = text::toUpperAscii(options.EditFHead);
    int32_t highest = 0;
    std::erase_if(names, [&](const std::string& name) {
        const std::string_view view = name;
        const std::string base =
            text::toUpperAscii(view.substr(0, view.size() - ExtensionOf(view).size()));
        if (base.size() <= prefix.size() || base.compare(0, prefix.size(), prefix) != 0) {
            return false;
        }
        // -1 stands for "no number" in this rule, so a name carrying it is
        // never taken for numbered.
        const std::optional<int32_t> number =
            readWholeNumber(std::string_view(base).substr(prefix.size()));
        if (!number || *number == -1) {
            return false;
        }
        highest = std::max(highest, *number);
        return true;
    });
    return highest;
}

} // namespace vimbrel
