#pragma once

#include <string>

namespace vimbrel {

// Deletes every file of `folder` (ending in "/"), whatever its attributes,
// making read-only ones writable first. Sub-folders and everything in them,
// and the folder itself, are left. A missing folder, or a file that cannot be
// deleted, is passed over without a word.
void DeleteFolderFiles(const std::string& folder);

} // namespace vimbrel
