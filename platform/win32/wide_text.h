#pragma once

#include <string>
#include <string_view>

// The Windows side of the platform layer keeps text in UTF-8 like the rest of
// the tool and speaks UTF-16 to the system: every path goes through these.
namespace vimbrel::win32 {

// UTF-8 to UTF-16; bytes that are not UTF-8 become U+FFFD.
std::wstring widen(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string narrow(std::wstring_view utf16);

// `path` for the shell's functions (parsing names, ShellExecuteW, which do
// not take the "\\?\" form): UTF-16 with "/" turned to "\".
std::wstring shellPath(std::string_view path);

// `path` for a W function: UTF-16, "/" turned to "\", and full paths longer
// than the old limit of 260 characters given the "\\?\" form ("\\?\UNC\"
// for a share), so that any length the file system takes works.
std::wstring systemPath(std::string_view path);

} // namespace vimbrel::win32
