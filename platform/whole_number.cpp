#include "platform/whole_number.h"

namespace vimbrel {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<int32_t> readHex(std::string_view digits)
{
    if (digits.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFULL) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> readDecimal(std::string_view digits, bool negative)
{
    if (digits.empty()) {
        return std::nullopt;
    }
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

} // namespace

std::optional<int32_t> readWholeNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '$' || text.front() == 'x' || text.front() == 'X') {
        return readHex(text.substr(1));
    }
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return readHex(text.substr(2));
    }
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return readDecimal(text, negative);
}

int32_t readWholeNumberOr(std::string_view text, int32_t fallback)
{
    return readWholeNumber(text).value_or(fallback);
}

} // namespace vimbrel
