#pragma once

#include <string>
#include <string_view>

#include "settings/options.h"

namespace vimbrel {

// Cleans the picture and movie extension lists in place: each line loses the
// blanks and control characters at both ends and has a-z raised to A-Z; lines
// left empty are removed. Every command runs it before it reads the lists.
void NormalizeExtensions(Options& options);

// True when the extension of `fileName` (after its last ".", provided no "\"
// or ":" follows it), raised to upper case, equals a line of MemoPIC byte for
// byte. Lines are compared as they stand: lower-case lines match only once
// NormalizeExtensions has run.
bool IsImageFile(const Options& options, std::string_view fileName);

} // namespace vimbrel
