#include "tests/support/page_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/text_encoding.h"
#include "tests/support/temp_folder.h"
#include "viewer/pages/page_file.h"

namespace vimbrel::testing {

std::string sourceFolder()
{
    const char* source = std::getenv("VIMBREL_SOURCE_DIR");
    return source != nullptr && *source != '\0' ? source : VIMBREL_SOURCE_PATH;
}

std::string expectedPage(const std::string& name)
{
    const std::string text = readFile(sourceFolder() + "/tests/viewer/expected_pages/" + name);
    EXPECT_FALSE(text.empty()) << "missing transcription " << name;
    std::string crlf;
    for (const char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

std::string pageText(const std::string& path)
{
    const std::string bytes = readFile(path);
    const std::optional<std::string> text = encoding::fromShiftJis(bytes);
    EXPECT_TRUE(text.has_value()) << path << " is not code page 932";
    return text.value_or("");
}

std::vector<std::string> pageLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the page ends in an unfinished line";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line break: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

std::string writtenPage(PageWriter write, const PageValues& values)
{
    TempFolder folder;
    const std::string path = folder / "page.htm";
    PageFile page(path);
    write(page, values);
    page.finish();
    return pageText(path);
}

PageValues PageSetup::values() const
{
    return PageValues{options,   ImageNames, SmallNames, PicturePath, SmallPath,
                      "../Img/", Interval1,  Interval2,  Interval3};
}

std::vector<std::string> numberedNames(size_t count)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%02zu.jpg", i);
        names.emplace_back(name);
    }
    return names;
}

} // namespace vimbrel::testing
