#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vimbrel {

// The slide-show interval in milliseconds that a time edit's text stands for:
// the text is tenths of a second ("  10" is 1.0 s), read as a whole number;
// a text that is no number, or a negative one, which the edit cannot hold,
// counts as 1 (0.1 s).
int64_t IntervalMilliseconds(std::string_view editText);

// An interval in seconds with one decimal, as the interval buttons' tooltips
// show it: 1000 gives "1.0", 200 gives "0.2", 12300 gives "12.3". A part below
// 100 milliseconds is dropped.
std::string IntervalText(int64_t milliseconds);

} // namespace vimbrel
