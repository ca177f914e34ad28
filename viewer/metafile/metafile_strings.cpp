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
