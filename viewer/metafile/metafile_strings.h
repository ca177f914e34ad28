#pragma once

#include <cstdint>
#include <span>

#include <QString>

namespace vimbrel::metafile_strings {

// Text stored in the code page of a font's character set: Shift-JIS for the
// Japanese and the system's default set (the pictures come from Japanese
// systems), Latin-1 otherwise and wherever the bytes are not valid Shift-JIS.
// A NUL ends the text.
QString fromCharset(std::span<const uint8_t> bytes, uint8_t charset);

// UTF-16LE text; a NUL ends it.
QString fromUtf16(std::span<const uint8_t> bytes);

} // namespace vimbrel::metafile_strings
