#pragma once

#include <string>

namespace vimbrel {

// The Content-Type the viewer server sends for a file, chosen by the
// extension of its name (case ignored). The pages are Shift-JIS without a
// character-set declaration of their own, so the header names it for them.
std::string contentTypeFor(const std::string& fileName);

} // namespace vimbrel
