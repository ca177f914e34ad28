#include "settings/time_mask_text.h"

namespace vimbrel {

std::string TimeMaskText(int tenths)
{
    const std::string digits = std::to_string(tenths);
    if (tenths >= 1000) {
        return digits;
    }
    if (tenths >= 100) {
        return " " + digits;
    }
    if (tenths >= 10) {
        return "  " + digits;
    }
    return "  0" + digits;
}

} // namespace vimbrel
