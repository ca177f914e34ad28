#pragma once

#include <string>
#include <vector>

#include "tests/support/recording_interface.h"
#include "viewer/pages/page_file.h"
#include "viewer/pages/page_values.h"

namespace vimbrel::testing {

// The project's source folder.
std::string sourceFolder();

// A page as transcribed into tests/viewer/expected_pages/, with CR LF line ends.
std::string expectedPage(const std::string& name);

// The text of a written page: its code page 932 bytes as UTF-8. Fails the
// test when the bytes are not code page 932.
std::string pageText(const std::string& path);

// The lines of a page's text, split at CR LF; fails the test on a bare LF or
// CR, or on a last line without its end.
std::vector<std::string> pageLines(const std::string& text);

using PageWriter = void (*)(PageFile&, const PageValues&);

// Runs `write` into a fresh file and returns the page's text.
std::string writtenPage(PageWriter write, const PageValues& values);

// Page values with the given pictures, prefix "../../pics/" and the intervals
// of the first-start options.
struct PageSetup
{
    Options options;
    std::vector<std::string> ImageNames;
    std::vector<std::string> SmallNames;
    std::string PicturePath = "../../pics/";
    std::string SmallPath;
    int64_t Interval1 = 1000;
    int64_t Interval2 = 10000;
    int64_t Interval3 = 200;

    PageValues values() const;
};

// Names "p00.jpg", "p01.jpg", ... of `count` pictures.
std::vector<std::string> numberedNames(size_t count);

} // namespace vimbrel::testing
