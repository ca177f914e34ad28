#include "viewer/server/redirect_page.h"

#include "platform/private_folder.h"
#include "platform/sys_calls.h"

namespace vimbrel {
namespace {

constexpr const char* kPageName = "open-viewer.html";

// The URL as HTML attribute and script string text. The viewer URLs hold
// only ASCII letters, digits and percent escapes, but a page must not trust
// that.
std::string escaped(const std::string& url)
{
    std::string text;
    for (char c : url) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '"':
            text += "&quot;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '\'':
            text += "&#39;";
            break;
        case '\\':
            text += "&#92;";
            break;
        default:
            text += c;
        }
    }
    return text;
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const std::ptrdiff_t wrote = sys::calls().write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0) {
            return false;
        }
        done += size_t(wrote);
    }
    return true;
}

} // namespace

RedirectPage::~RedirectPage()
{
    if (!mFolder.empty()) {
        sys::calls().unlink((mFolder + kPageName).c_str());
        removeEmptyFolder(mFolder);
    }
}

std::string RedirectPage::write(const std::string& url, const std::string& fallbackFolder)
{
    if (mFolder.empty()) {
        mFolder = makePrivateFolder(fallbackFolder);
        if (mFolder.empty()) {
            return {};
        }
    }
    const std::string path = mFolder + kPageName;
    sys::calls().unlink(path.c_str());
    const int fd = sys::calls().open(path.c_str(), sys::OpenFor::CreatingPrivate);
    if (fd < 0) {
        return {};
    }
    const std::string target = escaped(url);
    const std::string page = "<!DOCTYPE html>\n<meta charset=\"us-ascii\">\n"
                             "<meta name=\"referrer\" content=\"no-referrer\">\n"
                             "<meta http-equiv=\"refresh\" content=\"0;url=" +
                             target + "\">\n<title>Vimbrel</title>\n<a href=\"" + target +
                             "\">Vimbrel</a>\n";
    const bool written = writeAll(fd, page);
    if (sys::calls().close(fd) != 0 || !written) {
        sys::calls().unlink(path.c_str());
        return {};
    }
    return path;
}

} // namespace vimbrel
