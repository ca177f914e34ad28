#pragma once

#include <string>
#include <string_view>

namespace vimbrel {

// An interval box shows three digit places, a fixed point and one digit
// place ("  1.0"); its text is the four places without the point, an empty
// place as a blank and the blanks at the end dropped ("  10").

// The text of what the box shows; anything but a digit is an empty place.
std::string timeTextOfShown(std::string_view shown);
// What the box shows for a text: a character that is not a digit leaves its
// place empty, and characters past the fourth are dropped.
std::string shownOfTimeText(std::string_view text);

// The display positions of the four digit places: the point stands at 3.
inline constexpr int kTimePlaces[] = {0, 1, 2, 4};
inline constexpr int kTimePointPosition = 3;

} // namespace vimbrel
