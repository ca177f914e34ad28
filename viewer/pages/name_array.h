#pragma once

#include <string>
#include <vector>

#include "viewer/pages/page_file.h"

namespace vimbrel {

// Writes the entries of a script array of names, ten to a line: the first
// after 23 blanks, each further one after a blank and a comma, each between
// double quotes; after every tenth entry the line ends and the next begins with
// 21 blanks. The last line is left open for the caller to close. Each entry is
// already in its page form (page::inScriptString and whatever its use needs).
void writeNameEntries(PageFile& page, const std::vector<std::string>& entries);

} // namespace vimbrel
