#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's own converter between UTF-8 and Windows code page 932 (iconv
// on POSIX, the Windows code page functions on Windows), under the tool's
// text encoding rules in text_encoding.h.
namespace vimbrel::cp932 {

// All of `utf8` in code page 932; nothing when any character has no form there.
std::optional<std::string> fromUtf8(std::string_view utf8);

// All of `cp932` in UTF-8; nothing when it is not valid code page 932.
std::optional<std::string> toUtf8(std::string_view cp932);

} // namespace vimbrel::cp932
