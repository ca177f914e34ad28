#pragma once

#include <string>

namespace vimbrel {

// The URL prefix that reaches `folder` from `WorkFolder`, both absolute and
// ending in "/": ".." once for each name of WorkFolder below the names the two
// paths share, then the rest of `folder`, each name followed by "/". WorkFolder
// itself gives "./". A path that is not absolute cannot be reached relatively
// and is returned as it is, with a trailing "/".
std::string FolderUrl(const std::string& WorkFolder, const std::string& folder);

} // namespace vimbrel
