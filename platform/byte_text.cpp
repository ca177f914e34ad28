#include "platform/byte_text.h"

#include <algorithm>

#include "platform/file_system.h"

namespace vimbrel::text {
namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameLetter(char a, char b)
{
    return lowerAscii(a) == lowerAscii(b);
}

} // namespace

std::string upperExtension(std::string_view path)
{
    const size_t slash = path.find_last_of(fs::kSeparators);
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) {
        return {};
    }
    return toUpperAscii(path.substr(dot + 1));
}

std::string toUpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), &sameLetter);
}

size_t findIgnoringAsciiCase(std::string_view text, std::string_view what)
{
    const auto found = std::search(text.begin(), text.end(), what.begin(), what.end(), &sameLetter);
    return found == text.end() && !what.empty() ? std::string_view::npos
                                                : size_t(found - text.begin());
}

std::string_view trimControls(std::string_view text)
{
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace vimbrel::text
