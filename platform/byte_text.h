#pragma once

#include <string>
#include <string_view>

// Byte-level text helpers shared by the commands. In UTF-8 no byte of a
// multi-byte character is below 0x80, so searching for "." or "/" and
// upper-casing ASCII never touches part of another character.
namespace vimbrel::text {

// ASCII a-z raised to A-Z; every other byte left as it is.
std::string toUpperAscii(std::string_view text);

// True when `a` and `b` are the same but for the case of ASCII letters.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

// Where `what` first stands in `text`, the case of ASCII letters ignored;
// npos when nowhere.
size_t findIgnoringAsciiCase(std::string_view text, std::string_view what);

// The extension of the last component of the path `path`, upper-cased: the
// text after its last "."; empty when that component has none.
std::string upperExtension(std::string_view path);

// `text` without the bytes of value 32 or below at both ends (blanks and
// control characters). Multi-byte characters such as the full-width blank stay.
std::string_view trimControls(std::string_view text);

} // namespace vimbrel::text
