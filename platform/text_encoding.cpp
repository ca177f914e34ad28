#include "platform/text_encoding.h"

#include <cerrno>
#include <iconv.h>

#include <stdexcept>

namespace vimbrel::encoding {
namespace {

// One iconv conversion descriptor, opened once per thread and direction.
class Converter
{
public:
    Converter(const char* to, const char* from) : mHandle(iconv_open(to, from))
    {
        if (mHandle == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(mHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `input`; nothing when any byte cannot be converted.
    std::optional<std::string> convert(std::string_view input)
    {
        iconv(mHandle, nullptr, nullptr, nullptr, nullptr); // reset the shift state
        std::string output;
        output.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* out = output.data();
        size_t outLeft = output.size();
        while (inLeft > 0) {
            if (iconv(mHandle, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
                if (errno != E2BIG) {
                    return std::nullopt;
                }
                const size_t used = output.size() - outLeft;
                output.resize(output.size() * 2);
                out = output.data() + used;
                outLeft = output.size() - used;
            }
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t mHandle;
};

Converter& toCp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

} // namespace

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
    if (auto whole = toCp932().convert(utf8)) {
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
            converted = toCp932().convert(piece);
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
    return isValidUtf8(utf8) && toCp932().convert(utf8).has_value();
}

std::optional<std::string> fromShiftJis(std::string_view cp932)
{
    return fromCp932().convert(cp932);
}

} // namespace vimbrel::encoding
