#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vimbrel {

// Reads a text as a signed 32-bit whole number, as every option, settings key
// and file-name number of the tool is read: leading blanks are skipped, then
// either an optional sign and decimal digits, or, without sign, hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Anything after the number, no
// digits at all, or a value beyond 32 bits gives no number. Hexadecimal values
// take all 32 bits, so "$FFFFFFFF" reads as -1.
std::optional<int32_t> readWholeNumber(std::string_view text);

// readWholeNumber, or `fallback` when the text is no number.
int32_t readWholeNumberOr(std::string_view text, int32_t fallback);

} // namespace vimbrel
