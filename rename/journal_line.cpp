#include "rename/journal_line.h"

#include <charconv>
#include <vector>

#include "platform/file_system.h"

namespace vimbrel {
namespace {

constexpr const char* kRenamed = "renamed";
constexpr const char* kWritable = "writable";

// Length of the valid UTF-8 character at `at`, or 0 when the bytes there are
// not one.
size_t utf8Length(const std::string& text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    uint32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= min && code <= 0x10FFFF && !surrogate ? length : 0;
}

} // namespace

std::string escapedName(const std::string& name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == '\\') {
            text += "\\\\";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else if (const size_t length = c >= 0x80 ? utf8Length(name, i) : 0; length > 0) {
            text.append(name, i, length);
            i += length;
            continue;
        } else {
            text += "\\x";
            text += kHex[c >> 4];
            text += kHex[c & 15];
        }
        ++i;
    }
    return text;
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> unescaped(const std::string& text)
{
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            name += text[i];
            continue;
        }
        if (++i >= text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            name += '\\';
            break;
        case 't':
            name += '\t';
            break;
        case 'n':
            name += '\n';
            break;
        case 'r':
            name += '\r';
            break;
        case 'x': {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            name += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return name;
}

template <typename Number> std::optional<Number> numberOf(const std::string& text, int base = 10)
{
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string octal(uint32_t mode)
{
    char text[16];
    const auto [end, error] = std::to_chars(text, text + sizeof text, mode, 8);
    (void)error;
    return std::string(text, end);
}

} // namespace

std::string journalLine(const JournalStep& step)
{
    const bool renamed = step.kind == JournalStep::Kind::Renamed;
    return std::string(renamed ? kRenamed : kWritable) + '\t' + std::to_string(step.device) + '\t' +
           std::to_string(step.inode) + '\t' + escapedName(step.folder) + '\t' +
           escapedName(step.oldName) + '\t' +
           (renamed ? escapedName(step.newName) : octal(step.mode));
}

std::optional<JournalStep> parseJournalLine(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            break;
        }
        start = tab + 1;
    }
    if (fields.size() != 6 || (fields[0] != kRenamed && fields[0] != kWritable)) {
        return std::nullopt;
    }
    JournalStep step;
    step.kind =
        fields[0] == kRenamed ? JournalStep::Kind::Renamed : JournalStep::Kind::MadeWritable;
    const auto device = numberOf<uint64_t>(fields[1]);
    const auto inode = numberOf<uint64_t>(fields[2]);
    const auto folder = unescaped(fields[3]);
    const auto oldName = unescaped(fields[4]);
    if (!device || !inode || !folder || !oldName || !fs::isAbsolute(*folder) ||
        folder->back() != fs::kSeparator || oldName->empty()) {
        return std::nullopt;
    }
    step.device = *device;
    step.inode = *inode;
    step.folder = *folder;
    step.oldName = *oldName;
    if (step.kind == JournalStep::Kind::Renamed) {
        const auto newName = unescaped(fields[5]);
        if (!newName || newName->empty()) {
            return std::nullopt;
        }
        step.newName = *newName;
    } else {
        const auto mode = numberOf<uint32_t>(fields[5], 8);
        if (!mode || *mode > 07777) {
            return std::nullopt;
        }
        step.mode = *mode;
    }
    return step;
}

} // namespace vimbrel
