#include "settings/profile_file.h"

#include <algorithm>

#include "platform/byte_text.h"
#include "platform/whole_number.h"

namespace vimbrel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The name of a section header line ("[NAME]", blanks allowed around the
// line and the name), or false when the line is no header.
bool sectionName(std::string_view line, std::string_view& name)
{
    line = text::trimControls(line);
    if (line.empty() || line.front() != '[') {
        return false;
    }
    const size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = text::trimControls(line.substr(1, close - 1));
    return true;
}

// Splits a key line at its first "=" into the trimmed key and the raw value;
// false when the line holds no "=".
bool keyAndValue(std::string_view line, std::string_view& key, std::string_view& value)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = text::trimControls(line.substr(0, equals));
    value = line.substr(equals + 1);
    return true;
}

// One pair of enclosing double or single quotes removed.
std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// At most `limit` bytes, cut before a UTF-8 continuation byte rather than
// inside a character.
std::string_view cutAtCharacter(std::string_view value, size_t limit)
{
    if (value.size() <= limit) {
        return value;
    }
    size_t size = limit;
    while (size > 0 && (static_cast<unsigned char>(value[size]) & 0xC0) == 0x80) {
        --size;
    }
    return value.substr(0, size);
}

std::string singleLine(std::string_view value)
{
    std::string result(value);
    for (char& c : result) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return result;
}

} // namespace

ProfileFile::ProfileFile(std::string_view text)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        mByteOrderMark = kByteOrderMark;
        text.remove_prefix(kByteOrderMark.size());
    }
    bool lineEndChosen = false;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.text = text;
            text = {};
        } else {
            const bool crlf = newline > 0 && text[newline - 1] == '\r';
            line.text = text.substr(0, crlf ? newline - 1 : newline);
            line.end = crlf ? End::CrLf : End::Lf;
            text.remove_prefix(newline + 1);
            if (!lineEndChosen) {
                mLineEnd = line.end;
                lineEndChosen = true;
            }
        }
        std::string_view name;
        std::string_view value;
        if (sectionName(line.text, name)) {
            line.kind = Kind::Header;
            mHeaders.push_back(mLines.size());
        } else if (keyAndValue(line.text, name, value)) {
            line.kind = Kind::Key;
        }
        mLines.push_back(std::move(line));
    }
}

size_t ProfileFile::findSection(std::string_view section) const
{
    for (const size_t header : mHeaders) {
        std::string_view name;
        sectionName(mLines[header].text, name);
        if (text::equalIgnoringAsciiCase(name, section)) {
            return header;
        }
    }
    return std::string::npos;
}

size_t ProfileFile::sectionEnd(size_t header) const
{
    const auto next = std::upper_bound(mHeaders.begin(), mHeaders.end(), header);
    return next == mHeaders.end() ? mLines.size() : *next;
}

size_t ProfileFile::findKey(size_t header, std::string_view key) const
{
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (mLines[i].kind != Kind::Key) {
            continue;
        }
        std::string_view name;
        std::string_view value;
        keyAndValue(mLines[i].text, name, value);
        if (text::equalIgnoringAsciiCase(name, key)) {
            return i;
        }
    }
    return std::string::npos;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const
{
    const size_t header = findSection(section);
    if (header == std::string::npos) {
        return std::string(fallback);
    }
    const size_t index = findKey(header, key);
    if (index == std::string::npos) {
        return std::string(fallback);
    }
    std::string_view name;
    std::string_view value;
    keyAndValue(mLines[index].text, name, value);
    value = value.substr(0, value.find('\0'));
    value = unquoted(text::trimControls(value));
    return std::string(cutAtCharacter(value, kMaxValueBytes));
}

int32_t ProfileFile::readInteger(std::string_view section, std::string_view key,
                                 int32_t fallback) const
{
    return readWholeNumberOr(readString(section, key, ""), fallback);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value)
{
    std::string line = std::string(key) + "=" + singleLine(value);
    const size_t header = findSection(section);
    if (header == std::string::npos) {
        insertLine(mLines.size(), "[" + std::string(section) + "]", Kind::Header);
        insertLine(mLines.size(), std::move(line), Kind::Key);
        return;
    }
    const size_t index = findKey(header, key);
    if (index != std::string::npos) {
        // Keep the key as the file spells it.
        std::string_view name;
        std::string_view oldValue;
        keyAndValue(mLines[index].text, name, oldValue);
        mLines[index].text = std::string(name) + "=" + singleLine(value);
        return;
    }
    // After the section's last line that is not blank, so that blank lines
    // separating it from the next section stay where they are.
    size_t end = sectionEnd(header);
    while (end > header + 1 && text::trimControls(mLines[end - 1].text).empty()) {
        --end;
    }
    insertLine(end, std::move(line), Kind::Key);
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int32_t value)
{
    writeString(section, key, std::to_string(value));
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

void ProfileFile::insertLine(size_t index, std::string text, Kind kind)
{
    if (index > 0 && mLines[index - 1].end == End::None) {
        mLines[index - 1].end = mLineEnd;
    }
    mLines.insert(mLines.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), mLineEnd, kind});
    const auto later = std::lower_bound(mHeaders.begin(), mHeaders.end(), index);
    for (auto it = later; it != mHeaders.end(); ++it) {
        ++*it;
    }
    if (kind == Kind::Header) {
        mHeaders.insert(later, index);
    }
}

std::string ProfileFile::text() const
{
    const auto endText = [](End end) -> std::string_view {
        return end == End::CrLf ? "\r\n" : end == End::Lf ? "\n" : "";
    };
    size_t size = mByteOrderMark.size();
    for (const Line& line : mLines) {
        size += line.text.size() + endText(line.end).size();
    }
    std::string result;
    result.reserve(size);
    result += mByteOrderMark;
    for (const Line& line : mLines) {
        result += line.text;
        result += endText(line.end);
    }
    return result;
}

} // namespace vimbrel
