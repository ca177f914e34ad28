#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vimbrel {

// The text of an INI file (sections in square brackets, lines of key=value)
// held in memory, read and changed key by key the way profile files are:
// section and key names match ignoring ASCII case, the first of duplicate
// sections or keys counts, lines that are neither a section nor a key (and
// keys before the first section) are kept but never matched. Changing a key
// rewrites only its own line; every other line keeps its bytes and its line
// end.
class ProfileFile
{
public:
    // The longest value a read returns, in bytes.
    static constexpr size_t kMaxValueBytes = 2047;

    ProfileFile() = default;
    // `text` is UTF-8; its lines may end in CR LF or LF, and a leading
    // byte-order mark is kept aside and written again by text().
    explicit ProfileFile(std::string_view text);

    // The value of `key`, or `fallback` when the section or the key is
    // missing. Blanks around the value are dropped, one pair of enclosing
    // double or single quotes is removed, and the value ends at a NUL byte and
    // after kMaxValueBytes (never inside a UTF-8 character).
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // The value read as a whole number; a value of more than two characters
    // starting with "0x" or "0X" is hexadecimal. Missing, empty or unreadable
    // values give `fallback`.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // readInteger != 0; missing or unreadable values give `fallback`.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    // Sets `key` to `value`: an existing key's line is rewritten in place, a
    // new key goes to the end of its section, a new section to the end of the
    // text. Line breaks and NUL bytes in `value` become spaces, so that a value
    // never adds lines of its own.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    // The whole text, every line with its own line end. Lines added by writes
    // end like the first line of the original text, or with CR LF.
    std::string text() const;

private:
    enum class End : unsigned char
    {
        None, // the last line, without a line end
        Lf,
        CrLf,
    };
    enum class Kind : unsigned char
    {
        Other, // blank, comment, or anything without "="
        Header,
        Key,
    };
    struct Line
    {
        std::string text;
        End end = End::None;
        Kind kind = Kind::Other;
    };

    // Index of the first header line of `section`, or npos.
    size_t findSection(std::string_view section) const;
    // Index of the first line of `key` inside the section whose header is at
    // `header`, or npos.
    size_t findKey(size_t header, std::string_view key) const;
    // Index one past the last line that belongs to the section at `header`.
    size_t sectionEnd(size_t header) const;
    void insertLine(size_t index, std::string text, Kind kind);

    std::vector<Line> mLines;
    // The indexes of the header lines, in order, so that finding a section
    // does not walk every line of a long file.
    std::vector<size_t> mHeaders;
    std::string mByteOrderMark;
    End mLineEnd = End::CrLf;
};

} // namespace vimbrel
