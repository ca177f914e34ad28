#pragma once

#include <string>
#include <string_view>

// The helper script the server adds to the viewer pages it serves
// (viewer_helper.js): tooltips from ALT texts, keys, the thumbnail head that
// grows to its links, and the viewer windows' signs of life. The pages in
// the Work folder stay as they were written; only the answer carries it.
namespace vimbrel::page_helper {

// True for the names of the seven viewer pages.
bool isViewerPage(std::string_view name);

// `page` with a script element loading `scriptUrl` right after its <HEAD>
// tag (letter case ignored), or at its start where it has none; the page's
// own bytes are kept as they are.
std::string withHelper(std::string_view page, const std::string& scriptUrl);

// The helper script, telling its signs of life to `base` + "alive?..." every
// `beatSeconds`.
std::string script(const std::string& base, unsigned beatSeconds);

// Changes with the script's text, for the answer's validator.
const std::string& version();

} // namespace vimbrel::page_helper
