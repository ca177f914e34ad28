#pragma once

#include <string>
#include <string_view>

// How a name or path goes into the viewer pages, one function for each kind of
// place it can stand in. Every insertion of a file name or folder prefix into a
// page goes through one of these, so that the form a character must take in its
// place is decided here and nowhere else. Input and output are UTF-8 text (a
// file name may hold bytes that are not UTF-8); the page file then turns the
// output into code page 932.
//
// A name is written as it is, byte for byte, unless a character of it would
// break its place or change what the browser makes of it. Only such a
// character is written in the escape form of its place, so that the browser
// loads, and shows, exactly the file of that name:
//
// clang-format off
// | place                 | character                                         | written as                  |
// |-----------------------|---------------------------------------------------|-----------------------------|
// | URL                   | %  #  ?  \                                        | %25 %23 %3F %5C             |
// | (inUrl)               | control characters (TAB, LF, CR, ...), DEL        | %09 %0A %0D ...             |
// |                       | blank at the start or end of the piece            | %20                         |
// |                       | a byte that is not UTF-8                          | %XX of that byte            |
// |                       | a character code page 932 cannot hold             | left to the enclosing place |
// | script string         | \  "                                              | \\  \"                      |
// | (inScriptString)      | LF CR, other control characters, DEL              | \n \r \xHH                  |
// |                       | < before / or ! (would end or confuse the script  | \x3C                        |
// |                       | element)                                          |                             |
// |                       | a character code page 932 cannot hold             | \uXXXX (a surrogate pair    |
// |                       |                                                   | above U+FFFF)               |
// |                       | a byte that is not UTF-8                          | \uFFFD                      |
// | attribute             | "                                                 | &quot;                      |
// | (inAttribute)         | & that would start a character reference          | &amp;                       |
// |                       | control characters, DEL                           | &#N;                        |
// |                       | a character code page 932 cannot hold             | &#xH;                       |
// |                       | a byte that is not UTF-8                          | &#xFFFD;                    |
// | element text          | & that would start a character reference          | &amp;                       |
// | (inText)              | < that would start a tag (before a letter, / ! ?) | &lt;                        |
// |                       | control characters, DEL, characters code page 932 | as in an attribute          |
// |                       | cannot hold, bytes not UTF-8                      |                             |
// | markup a script       | the characters of attribute and element text      | as there                    |
// | writes (inMarkup)     | together; code page 932 and UTF-8 are left to     |                             |
// |                       | the enclosing script string                       |                             |
// clang-format on
//
// "Code page 932 cannot hold" means: has no form in code page 932 that the
// browser reads back as the same character. Emoji have none; ¥ and ‾ would be
// written as the bytes of \ and ~, and 〜 − ‖ ¢ ¬ would come back as their
// full-width look-alikes, which name other files.
//
// The check works on characters, before the conversion to code page 932, so
// that the second byte 0x5C of 表 or ソ is never taken for a backslash: the
// browser decodes the page as Shift_JIS (the server says so) before its script
// parser sees a single character.
//
// "&" starts a character reference when "#" follows it, letters and digits and
// ";", or one of the names that browsers accept without ";" (amp, lt, copy,
// ...); "a&b.jpg" and "R&D.jpg" stay as they are.
//
// Places nest: a URL stands in an attribute or a script string and is passed
// through both functions, inner first (inAttribute(inUrl(name))).
namespace vimbrel::page {

// Between the double quotes of a JavaScript string literal.
std::string inScriptString(std::string_view text);

// Between the double quotes of an HTML attribute value.
std::string inAttribute(std::string_view text);

// A file name or folder prefix that the browser loads as part of a URL.
std::string inUrl(std::string_view text);

// Text shown as the content of an HTML element.
std::string inText(std::string_view text);

// A value that a page script writes into HTML both as element text and inside
// a double-quoted attribute (the thumbnail window's names and image sources).
std::string inMarkup(std::string_view text);

// True when `character` (one UTF-8 character) comes back unchanged from a
// Shift_JIS page.
bool fitsPage(std::string_view character);

} // namespace vimbrel::page
