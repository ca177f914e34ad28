#include "platform/text_encoding.h"

#include <algorithm>

#include "platform/code_page_932.h"

namespace vimbrel::encoding {

size_t utf8SequenceLength(std::string_view text)
{
    if (text.empty()) {
        return 0;
    }
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view text)
{
    while (!text.empty()) {
        const size_t length = utf8SequenceLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

std::string toShiftJis(std::string_view utf8, const Unencodable& replace)
{
    if (auto whole = cp932::fromUtf8(utf8)) {
        return *whole;
    }
    // Some piece cannot be converted: go character by character.
    std::string output;
    output.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = std::max<size_t>(1, utf8SequenceLength(utf8));
        const std::string_view piece = utf8.substr(0, length);
        std::optional<std::string> converted;
        if (utf8SequenceLength(utf8) != 0) {
            converted = cp932::fromUtf8(piece);
        }
        if (converted) {
            output += *converted;
        } else {
            output += replace ? replace(piece) : std::string("?");
        }
        utf8.remove_prefix(length);
    }
    return output;
}

bool fitsShiftJis(std::string_view utf8)
{
    return isValidUtf8(utf8) && cp932::fromUtf8(utf8).has_value();
}

std::optional<std::string> fromShiftJis(std::string_view cp932)
{
    return cp932::toUtf8(cp932);
}

} // namespace vimbrel::encoding
