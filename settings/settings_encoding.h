#pragma once

#include <string>
#include <string_view>

namespace vimbrel {

// The text of a settings file as the program holds it (UTF-8). A file that is
// valid UTF-8 is taken as it is. Any other is read as code page 932, the form
// of a settings file carried over from Windows. When even that fails (a
// damaged or binary file), each line is taken as UTF-8 or code page 932,
// whichever it is, and the bytes that are neither become U+FFFD, so that the
// result is always valid UTF-8.
std::string decodeSettingsText(std::string_view bytes);

} // namespace vimbrel
