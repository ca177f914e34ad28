#include "platform/byte_text.h"

#include "platform/file_system.h"

namespace vimbrel::text {

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
