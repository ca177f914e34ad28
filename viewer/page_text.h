#pragma once

#include <string>
#include <string_view>

// How a name or path goes into the viewer pages, one function for each kind of
// place it can stand in. Every insertion of a file name or folder prefix into a
// page goes through one of these, so that the form a character must take in its
// place is decided here and nowhere else. For now each writes the text as it
// is; the page file turns it into code page 932.
namespace vimbrel::page {

// Between the double quotes of a JavaScript string literal.
std::string inScriptString(std::string_view text);

// Between the double quotes of an HTML attribute value.
std::string inAttribute(std::string_view text);

// A file name or folder prefix that the browser loads as part of a URL.
std::string inUrl(std::string_view text);

// Text shown as the content of an HTML element.
std::string inText(std::string_view text);

} // namespace vimbrel::page
