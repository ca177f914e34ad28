#pragma once

#include <string>

namespace vimbrel {

// The text of a time edit (three digit positions, a fixed point, one digit
// position; the point is not part of the text) that shows `tenths` tenths of a
// second: 10 gives "  10", 100 gives " 100", 2 gives "  02", 1234 gives
// "1234". A number of 10000 or more gives all its digits; a negative one gives
// "  0" followed by its decimal form, which the edit cannot hold.
std::string TimeMaskText(int tenths);

} // namespace vimbrel
