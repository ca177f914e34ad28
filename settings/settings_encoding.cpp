#include "settings/settings_encoding.h"

#include <optional>

#include "platform/text_encoding.h"

namespace vimbrel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string validUtf8Of(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size());
    while (!bytes.empty()) {
        const size_t length = encoding::utf8SequenceLength(bytes);
        if (length == 0) {
            result += kReplacement;
            bytes.remove_prefix(1);
        } else {
            result += bytes.substr(0, length);
            bytes.remove_prefix(length);
        }
    }
    return result;
}

std::string decodeLine(std::string_view line)
{
    if (encoding::isValidUtf8(line)) {
        return std::string(line);
    }
    if (std::optional<std::string> converted = encoding::fromShiftJis(line)) {
        return *converted;
    }
    return validUtf8Of(line);
}

} // namespace

std::string decodeSettingsText(std::string_view bytes)
{
    if (encoding::isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    if (std::optional<std::string> converted = encoding::fromShiftJis(bytes)) {
        return *converted;
    }
    std::string result;
    result.reserve(bytes.size());
    while (!bytes.empty()) {
        const size_t newline = bytes.find('\n');
        const size_t length = newline == std::string_view::npos ? bytes.size() : newline + 1;
        result += decodeLine(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return result;
}

} // namespace vimbrel
