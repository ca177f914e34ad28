#pragma once

#include <string>

namespace vimbrel {

// A folder of its own for files that only the person running the tool may
// read (the page that hands the viewer's secret URL to the browser): made
// anew with a name no one else took, under $XDG_RUNTIME_DIR where that is
// set and otherwise under `fallback` (POSIX, 0700), or in the user's own
// temporary folder, inside the profile that others cannot enter (Windows).
// Ends in the separator; "" when it cannot be made.
std::string makePrivateFolder(const std::string& fallback);

// Removes an empty folder; false when it cannot.
bool removeEmptyFolder(const std::string& folder);

} // namespace vimbrel
