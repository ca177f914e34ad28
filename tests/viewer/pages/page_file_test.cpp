#include "viewer/pages/page_file.h"

#include <gtest/gtest.h>

#include "platform/file_error.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::testing {
namespace {

TEST(PageFile, WritesCodePage932WithCrLf)
{
    TempFolder folder;
    const std::string path = folder / "p.htm";
    PageFile page(path);
    page.put("画像");
    page.put(" &");
    page.endLine();
    page.lines("a\n\nb ");
    page.line("");
    page.finish();
    // 画 is 0x89E6 and 像 0x919C in code page 932.
    EXPECT_EQ(readFile(path), "\x89\xE6\x91\x9C &\r\na\r\n\r\nb \r\n\r\n");
}

TEST(PageFile, ReplacesAnEarlierPage)
{
    TempFolder folder;
    const std::string path = folder.write("p.htm", "an older and longer page");
    PageFile page(path);
    page.line("new");
    page.finish();
    EXPECT_EQ(readFile(path), "new\r\n");
}

TEST(PageFile, AFolderInThePlaceOfThePageIsAFileError)
{
    TempFolder folder;
    folder.makeFolder("p.htm");
    EXPECT_THROW(PageFile(folder / "p.htm"), FileError);
}

} // namespace
} // namespace vimbrel::testing
