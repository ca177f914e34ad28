#include "viewer/server/page_helper.h"

#include <algorithm>
#include <array>
#include <functional>

#include "platform/byte_text.h"

namespace vimbrel::page_helper {

// The text of viewer_helper.js, built into the program.
extern const char* const kScriptText;

namespace {

constexpr std::array<std::string_view, 7> kPages = {"index.htm",   "menu.htm",      "btns.htm",
                                                    "main.htm",    "sum_frame.htm", "sum_head.htm",
                                                    "sum_main.htm"};

// Where <HEAD> ends within the first part of the page, or 0.
size_t afterHead(std::string_view page)
{
    constexpr std::string_view kHead = "<head>";
    const size_t found = text::findIgnoringAsciiCase(page.substr(0, 4096), kHead);
    return found == std::string_view::npos ? 0 : found + kHead.size();
}

void replaceAll(std::string& text, std::string_view what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.replace(at, what.size(), with);
        at += with.size();
    }
}

} // namespace

bool isViewerPage(std::string_view name)
{
    return std::find(kPages.begin(), kPages.end(), name) != kPages.end();
}

std::string withHelper(std::string_view page, const std::string& scriptUrl)
{
    const size_t at = afterHead(page);
    std::string served;
    served.reserve(page.size() + scriptUrl.size() + 40);
    served.append(page.substr(0, at));
    served += "<SCRIPT SRC=\"" + scriptUrl + "\"></SCRIPT>";
    served.append(page.substr(at));
    return served;
}

std::string script(const std::string& base, unsigned beatSeconds)
{
    std::string text = kScriptText;
    replaceAll(text, "@BASE@", base);
    replaceAll(text, "@BEAT_SECONDS@", std::to_string(beatSeconds));
    return text;
}

const std::string& version()
{
    static const std::string hash = std::to_string(std::hash<std::string_view>{}(kScriptText));
    return hash;
}

} // namespace vimbrel::page_helper
