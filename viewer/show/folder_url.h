#pragma once

#include <string>
#include <string_view>

namespace vimbrel {

// The URL path under which the viewer server serves the files below the full
// path head `root` (fs::rootOf): "" for POSIX's "/", "C:/" for a drive,
// "UNC/server/share/" for a share.
std::string urlOfRoot(std::string_view root);

// The URL prefix that reaches `folder` from `WorkFolder`, both full paths
// ending in the separator: ".." once for each name of WorkFolder below the
// names the two paths share, then the rest of `folder`, each name followed by
// "/". WorkFolder itself gives "./". On another drive or share, the climb goes
// on through the Work folder's drive to the served root and down through
// urlOfRoot() of the other. A path that is not full cannot be reached
// relatively and is returned as it is, with a trailing separator, separators
// written as "/".
std::string FolderUrl(const std::string& WorkFolder, const std::string& folder);

} // namespace vimbrel
