#include "viewer/server/redirect_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

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
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
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
        ::unlink((mFolder + kPageName).c_str());
        ::rmdir(mFolder.c_str());
    }
}

std::string RedirectPage::write(const std::string& url, const std::string& fallbackFolder)
{
    if (mFolder.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string base = runtime != nullptr && *runtime == '/' ? runtime : fallbackFolder;
        if (base.empty()) {
            return {};
        }
        if (base.back() != '/') {
            base += '/';
        }
        std::string pattern = base + "vimbrel-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) { // made 0700
            return {};
        }
        mFolder = std::string(name.data()) + "/";
    }
    const std::string path = mFolder + kPageName;
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
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
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return {};
    }
    return path;
}

} // namespace vimbrel
