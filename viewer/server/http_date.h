#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace vimbrel {

// `time` as HTTP writes dates: "Sun, 06 Nov 1994 08:49:37 GMT".
std::string httpDate(std::time_t time);

// The time an HTTP date names, in the preferred form or the two obsolete
// ones HTTP/1.1 still asks servers to read (RFC 850 and asctime); nothing
// for anything else.
std::optional<std::time_t> parseHttpDate(const std::string& text);

} // namespace vimbrel
