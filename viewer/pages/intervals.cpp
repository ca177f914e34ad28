#include "viewer/pages/intervals.h"

#include "platform/whole_number.h"

namespace vimbrel {

int64_t IntervalMilliseconds(std::string_view editText)
{
    int64_t tenths = readWholeNumberOr(editText, 1);
    if (tenths < 0) {
        tenths = 1;
    }
    return tenths * 100;
}

std::string IntervalText(int64_t milliseconds)
{
    return std::to_string(milliseconds / 1000) + "." + std::to_string(milliseconds % 1000 / 100);
}

} // namespace vimbrel
