#pragma once

#include <string>
#include <string_view>

#include "settings/options.h"

namespace vimbrel {

// The extension of a file name: from its last "." to the end, the dot
// included, letters as they are; "" when the name has no ".".
std::string_view ExtensionOf(std::string_view fileName);

// The new name of a renamed file: the prefix (EditFHead, exactly as typed),
// the number text padded with leading zeros to SpinKeta characters when
// ChkZero is checked (never cut), and the old name's extension.
std::string MakeNewName(const Options& options, std::string_view oldName,
                        std::string_view numberText);

} // namespace vimbrel
