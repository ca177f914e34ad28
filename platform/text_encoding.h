#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Conversion between the program's UTF-8 text and Shift-JIS (Windows code
// page 932), the code page of the viewer pages and of settings files carried
// over from Windows, through the system's converter (code_page_932.h).
namespace vimbrel::encoding {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);

// The length in bytes of the UTF-8 sequence that starts `text`, or 0 when it
// does not start with a well-formed one.
size_t utf8SequenceLength(std::string_view text);

// Called with each piece of the input that code page 932 cannot hold (one
// character, or one byte that is not UTF-8); returns what to write instead,
// which must itself be representable (plain ASCII is).
using Unencodable = std::function<std::string(std::string_view piece)>;

// UTF-8 to code page 932. Pieces that cannot be converted are handed to
// `replace`; without one they become "?".
std::string toShiftJis(std::string_view utf8, const Unencodable& replace = {});

// True when every character of `utf8` has a code page 932 form.
bool fitsShiftJis(std::string_view utf8);

// Code page 932 to UTF-8, or nothing when `cp932` is not valid code page 932.
std::optional<std::string> fromShiftJis(std::string_view cp932);

} // namespace vimbrel::encoding
