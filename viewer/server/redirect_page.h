#pragma once

#include <string>

namespace vimbrel {

// A page on disk that sends the browser on to the viewer URL, so that the URL
// and its token reach the browser without standing on a command line, where
// every user of the machine could read them. The page lies in a private
// folder of its own (private_folder.h; on POSIX 0700, the page 0600), made
// at the first write(). Page and folder go with the object.
class RedirectPage
{
public:
    RedirectPage() = default;
    ~RedirectPage();
    RedirectPage(const RedirectPage&) = delete;
    RedirectPage& operator=(const RedirectPage&) = delete;

    // Writes the page for `url` (replacing an earlier one) and returns its
    // path; "" when it cannot be written.
    std::string write(const std::string& url, const std::string& fallbackFolder);

private:
    std::string mFolder; // ends in "/", once made
};

} // namespace vimbrel
