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

// The font character set whose codes stand for the Symbol font's glyphs.
inline constexpr uint8_t kSymbolCharset = 2;

// True when text in this font is in the Symbol font's coding: its character
// set says so, or its face is Symbol, which Windows' font mapper picks with
// its own coding whatever set is asked for.
bool usesSymbolCoding(uint8_t charset, const QString& face);

// The text bytes of a record as the characters they show in the font of
// `charset` and `face`.
QString textInFont(std::span<const uint8_t> bytes, uint8_t charset, const QString& face);

// Text written in the Symbol font (its character set, kSymbolCharset) as the
// characters its glyphs show: "D" is Δ, "p" is π, 0xB3 is ≥. Codes of the
// private area F020 to F0FF, as Unicode text in that font gives them, count
// as their low byte. Without a Symbol font of the same coding on the system,
// drawing the codes as they are would show Latin letters.
QString fromSymbolFont(const QString& text);

} // namespace vimbrel::metafile_strings
