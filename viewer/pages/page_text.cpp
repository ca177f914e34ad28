#include "viewer/pages/page_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "platform/text_encoding.h"

namespace vimbrel::page {
namespace {

// One piece of the input: a whole UTF-8 character, or a single byte that
// does not start one.
struct Piece
{
    std::string_view bytes;
    bool utf8 = false;
    uint32_t codePoint = 0;
};

template <typename Visit> void forEachPiece(std::string_view text, Visit visit)
{
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = encoding::utf8SequenceLength(text.substr(at));
        Piece piece;
        piece.bytes = text.substr(at, std::max<size_t>(length, 1));
        piece.utf8 = length != 0;
        if (piece.utf8) {
            const auto byte = [&](size_t i) { return static_cast<unsigned char>(piece.bytes[i]); };
            static constexpr std::array<unsigned char, 5> kLeadMask{0, 0x7F, 0x1F, 0x0F, 0x07};
            piece.codePoint = byte(0) & kLeadMask[length];
            for (size_t i = 1; i < length; ++i) {
                piece.codePoint = (piece.codePoint << 6) | (byte(i) & 0x3F);
            }
        }
        visit(piece, text.substr(at + piece.bytes.size()));
        at += piece.bytes.size();
    }
}

bool isControl(uint32_t c)
{
    return c < 0x20 || c == 0x7F;
}

bool isAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string hex(uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
    return buffer;
}

// The named character references that browsers decode even without ";".
constexpr std::array<std::string_view, 106> kBareReferences{
    "AElig",  "AMP",    "Aacute", "Acirc",  "Agrave", "Aring",  "Atilde", "Auml",   "COPY",
    "Ccedil", "ETH",    "Eacute", "Ecirc",  "Egrave", "Euml",   "GT",     "Iacute", "Icirc",
    "Igrave", "Iuml",   "LT",     "Ntilde", "Oacute", "Ocirc",  "Ograve", "Oslash", "Otilde",
    "Ouml",   "QUOT",   "REG",    "THORN",  "Uacute", "Ucirc",  "Ugrave", "Uuml",   "Yacute",
    "aacute", "acirc",  "acute",  "aelig",  "agrave", "amp",    "aring",  "atilde", "auml",
    "brvbar", "ccedil", "cedil",  "cent",   "copy",   "curren", "deg",    "divide", "eacute",
    "ecirc",  "egrave", "eth",    "euml",   "frac12", "frac14", "frac34", "gt",     "iacute",
    "icirc",  "iexcl",  "igrave", "iquest", "iuml",   "laquo",  "lt",     "macr",   "micro",
    "middot", "nbsp",   "not",    "ntilde", "oacute", "ocirc",  "ograve", "ordf",   "ordm",
    "oslash", "otilde", "ouml",   "para",   "plusmn", "pound",  "quot",   "raquo",  "reg",
    "sect",   "shy",    "sup1",   "sup2",   "sup3",   "szlig",  "thorn",  "times",  "uacute",
    "ucirc",  "ugrave", "uml",    "uuml",   "yacute", "yen",    "yuml",
};

// True when an "&" followed by `rest` would be read as a character reference.
bool startsReference(std::string_view rest)
{
    if (!rest.empty() && rest.front() == '#') {
        return true;
    }
    size_t run = 0;
    while (run < rest.size() && isAsciiAlnum(rest[run])) {
        ++run;
    }
    if (run > 0 && run < rest.size() && rest[run] == ';') {
        return true;
    }
    return std::any_of(kBareReferences.begin(), kBareReferences.end(),
                       [&](std::string_view name) { return rest.substr(0, name.size()) == name; });
}

// True when a "<" followed by `rest` would open a tag, an end tag or a comment.
bool startsTag(std::string_view rest)
{
    return !rest.empty() && (isAsciiLetter(rest.front()) || rest.front() == '/' ||
                             rest.front() == '!' || rest.front() == '?');
}

std::string numericReference(uint32_t codePoint, bool hexadecimal)
{
    return hexadecimal ? "&#x" + hex(codePoint, 1) + ";" : "&#" + std::to_string(codePoint) + ";";
}

// What the HTML places (attribute, text, markup) share: "&" and controls.
// Returns true when it wrote the piece.
bool markupCommon(const Piece& piece, std::string_view rest, std::string& out)
{
    if (piece.bytes == "&" && startsReference(rest)) {
        out += "&amp;";
        return true;
    }
    if (piece.utf8 && isControl(piece.codePoint)) {
        out += numericReference(piece.codePoint, false);
        return true;
    }
    return false;
}

// For the places that stand on their own in the page: characters the page
// cannot carry become a numeric reference.
bool markupEncoding(const Piece& piece, std::string& out)
{
    if (!piece.utf8) {
        out += "&#xFFFD;";
        return true;
    }
    if (!fitsPage(piece.bytes)) {
        out += numericReference(piece.codePoint, true);
        return true;
    }
    return false;
}

} // namespace

bool fitsPage(std::string_view character)
{
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80) {
        return true;
    }
    thread_local std::unordered_map<std::string, bool> known;
    const std::string key(character);
    const auto found = known.find(key);
    if (found != known.end()) {
        return found->second;
    }
    bool fits = encoding::fitsShiftJis(character);
    if (fits) {
        const std::optional<std::string> back =
            encoding::fromShiftJis(encoding::toShiftJis(character));
        fits = back && *back == character;
    }
    known.emplace(key, fits);
    return fits;
}

std::string inScriptString(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachPiece(text, [&](const Piece& piece, std::string_view rest) {
        if (!piece.utf8) {
            out += "\\uFFFD";
        } else if (piece.bytes == "\\" || piece.bytes == "\"") {
            out += "\\" + std::string(piece.bytes);
        } else if (piece.codePoint == '\n') {
            out += "\\n";
        } else if (piece.codePoint == '\r') {
            out += "\\r";
        } else if (isControl(piece.codePoint)) {
            out += "\\x" + hex(piece.codePoint, 2);
        } else if (piece.bytes == "<" && !rest.empty() && (rest[0] == '/' || rest[0] == '!')) {
            out += "\\x3C";
        } else if (!fitsPage(piece.bytes)) {
            if (piece.codePoint > 0xFFFF) {
                const uint32_t offset = piece.codePoint - 0x10000;
                out += "\\u" + hex(0xD800 + (offset >> 10), 4) + "\\u" +
                       hex(0xDC00 + (offset & 0x3FF), 4);
            } else {
                out += "\\u" + hex(piece.codePoint, 4);
            }
        } else {
            out += piece.bytes;
        }
    });
    return out;
}

std::string inAttribute(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachPiece(text, [&](const Piece& piece, std::string_view rest) {
        if (markupCommon(piece, rest, out) || markupEncoding(piece, out)) {
            return;
        }
        out += piece.bytes == "\"" ? std::string_view("&quot;") : piece.bytes;
    });
    return out;
}

std::string inUrl(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    forEachPiece(text, [&](const Piece& piece, std::string_view) {
        const bool edgeBlank =
            piece.bytes == " " && (first == std::string_view::npos || at < first || at > last);
        at += piece.bytes.size();
        const bool special =
            piece.bytes == "%" || piece.bytes == "#" || piece.bytes == "?" || piece.bytes == "\\";
        if (!piece.utf8 || special || edgeBlank || isControl(piece.codePoint)) {
            for (const char byte : piece.bytes) {
                out += "%" + hex(static_cast<unsigned char>(byte), 2);
            }
            return;
        }
        out += piece.bytes;
    });
    return out;
}

std::string inText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachPiece(text, [&](const Piece& piece, std::string_view rest) {
        if (markupCommon(piece, rest, out) || markupEncoding(piece, out)) {
            return;
        }
        out += piece.bytes == "<" && startsTag(rest) ? std::string_view("&lt;") : piece.bytes;
    });
    return out;
}

std::string inMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachPiece(text, [&](const Piece& piece, std::string_view rest) {
        if (markupCommon(piece, rest, out)) {
            return;
        }
        if (piece.bytes == "\"") {
            out += "&quot;";
        } else if (piece.bytes == "<" && startsTag(rest)) {
            out += "&lt;";
        } else {
            out += piece.bytes;
        }
    });
    return out;
}

} // namespace vimbrel::page
