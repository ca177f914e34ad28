#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma text: a list of strings held in one settings value, as the settings
// file stores the extension lists and the folder tree's path.
namespace vimbrel {

// Joins `entries` with ",". An entry holding a byte from 1 to 32 (controls and
// the space), a double quote or a comma is put in double quotes, with each
// double quote inside it doubled. A list of one empty entry gives "\"\"", an
// empty list gives "".
std::string joinCommaText(const std::vector<std::string>& entries);

// Splits comma text back into entries. Blanks (bytes 1 to 32) around entries
// are skipped; a quoted entry runs to its closing quote, with doubled quotes
// made single; any other entry ends at the next blank or comma, so an unquoted
// blank splits it in two. A comma at the very end adds one empty entry. The
// text ends at its first NUL byte.
std::vector<std::string> splitCommaText(std::string_view text);

} // namespace vimbrel
