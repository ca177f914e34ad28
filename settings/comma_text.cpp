#include "settings/comma_text.h"

namespace vimbrel {
namespace {

constexpr char kQuote = '"';
constexpr char kDelimiter = ',';

bool isBlank(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

bool needsQuotes(std::string_view entry)
{
    for (const char c : entry) {
        if (isBlank(c) || c == kQuote || c == kDelimiter) {
            return true;
        }
    }
    return false;
}

std::string quoted(std::string_view entry)
{
    std::string result(1, kQuote);
    for (const char c : entry) {
        result += c;
        if (c == kQuote) {
            result += kQuote;
        }
    }
    result += kQuote;
    return result;
}

// Reads the quoted entry that starts at text[pos] (the opening quote) and
// moves pos past its closing quote, or to the end when it has none.
std::string readQuoted(std::string_view text, size_t& pos)
{
    std::string entry;
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != kQuote) {
            entry += c;
        } else if (pos < text.size() && text[pos] == kQuote) {
            entry += kQuote;
            ++pos;
        } else {
            break;
        }
    }
    return entry;
}

void skipBlanks(std::string_view text, size_t& pos)
{
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
}

} // namespace

std::string joinCommaText(const std::vector<std::string>& entries)
{
    if (entries.size() == 1 && entries.front().empty()) {
        return std::string(2, kQuote);
    }
    std::string result;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            result += kDelimiter;
        }
        result += needsQuotes(entries[i]) ? quoted(entries[i]) : entries[i];
    }
    return result;
}

std::vector<std::string> splitCommaText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> entries;
    size_t pos = 0;
    skipBlanks(text, pos);
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            entries.push_back(readQuoted(text, pos));
        } else {
            const size_t start = pos;
            while (pos < text.size() && !isBlank(text[pos]) && text[pos] != kDelimiter) {
                ++pos;
            }
            entries.emplace_back(text.substr(start, pos - start));
        }
        skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == kDelimiter) {
            ++pos;
            if (pos == text.size()) {
                entries.emplace_back();
            }
            skipBlanks(text, pos);
        }
    }
    return entries;
}

} // namespace vimbrel
