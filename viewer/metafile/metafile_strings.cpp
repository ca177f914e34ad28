#include "viewer/metafile/metafile_strings.h"

#include <algorithm>
#include <string>

#include "platform/text_encoding.h"

namespace vimbrel::metafile_strings {
namespace {

constexpr uint8_t kDefaultCharset = 1;
constexpr uint8_t kShiftJisCharset = 128;

} // namespace

QString fromCharset(std::span<const uint8_t> bytes, uint8_t charset)
{
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    const std::string text(bytes.begin(), end);
    if (charset == kShiftJisCharset || charset == kDefaultCharset) {
        if (const auto utf8 = encoding::fromShiftJis(text)) {
            return QString::fromStdString(*utf8);
        }
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString fromSymbolFont(const QString& text)
{
    // 0x20 to 0x7F, then 0xA0 to 0xFF; a zero keeps the code as it is.
    static constexpr char16_t kLow[96] = {
        0,      0,      0x2200, 0,      0x2203, 0,      0,      0x220B, 0,      0,      0x2217,
        0,      0,      0x2212, 0,      0,      0,      0,      0,      0,      0,      0,
        0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0x2245,
        0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
        0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2,
        0x03A9, 0x039E, 0x03A8, 0x0396, 0,      0x2234, 0,      0x22A5, 0,      0x203E, 0x03B1,
        0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB,
        0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,
        0x03BE, 0x03C8, 0x03B6, 0,      0,      0,      0x223C, 0};
    static constexpr char16_t kHigh[96] = {
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660,
        0x2194, 0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D,
        0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135,
        0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
        0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A,
        0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329,
        0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7,
        0x23A8, 0x23A9, 0x23AA, 0,      0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
        0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0};
    QString mapped;
    mapped.reserve(text.size());
    for (const QChar c : text) {
        char16_t code = c.unicode();
        if (code >= 0xF020 && code <= 0xF0FF) {
            code = code & 0xFF;
        }
        char16_t glyph = 0;
        if (code >= 0x20 && code < 0x80) {
            glyph = kLow[code - 0x20];
        } else if (code >= 0xA0 && code <= 0xFF) {
            glyph = kHigh[code - 0xA0];
        }
        mapped.append(QChar(glyph != 0 ? glyph : code));
    }
    return mapped;
}

bool usesSymbolCoding(uint8_t charset, const QString& face)
{
    return charset == kSymbolCharset ||
           face.compare(QStringLiteral("Symbol"), Qt::CaseInsensitive) == 0;
}

QString textInFont(std::span<const uint8_t> bytes, uint8_t charset, const QString& face)
{
    // Symbol-coded bytes are single bytes, never Shift-JIS pairs.
    return usesSymbolCoding(charset, face) ? fromSymbolFont(fromCharset(bytes, kSymbolCharset))
                                           : fromCharset(bytes, charset);
}

QString fromUtf16(std::span<const uint8_t> bytes)
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        text.append(QChar(unit));
    }
    return text;
}

} // namespace vimbrel::metafile_strings
