#include "rename/journal_line.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::fullFolder;

JournalStep renamed(const std::string& folder, const std::string& from, const std::string& to)
{
    JournalStep step;
    step.device = 2049;
    step.inode = 18446744073709551615ULL;
    step.folder = folder;
    step.oldName = from;
    step.newName = to;
    return step;
}

TEST(JournalLine, AnyNameComesBackByteForByte)
{
    const std::vector<std::string> names = {
        "plain.jpg",    " blank at both ends ", "tab\there",
        "line\nend\r",  "back\\slash\\x41",     "写真①.JPG",
        "\xff\xfe.jpg", "\xe3\x81.jpg",         "\xed\xa0\x80.jpg",
        "\x01\x1f\x7f", "%41&amp;\"'",          "\xc3\x28",
    };
    for (const std::string& name : names) {
        const std::string folder = fullFolder("p") + name + fs::kSeparator;
        const std::string line = journalLine(renamed(folder, name, name + ".new"));
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        const auto back = parseJournalLine(line);
        ASSERT_TRUE(back) << line;
        EXPECT_EQ(back->oldName, name);
        EXPECT_EQ(back->newName, name + ".new");
        EXPECT_EQ(back->folder, folder);
        EXPECT_EQ(back->inode, 18446744073709551615ULL);
    }
    // Readable where it can be: UTF-8 names stand as they are.
    EXPECT_EQ(journalLine(renamed(fullFolder("p"), "写真.jpg", "Sample0001.jpg")),
              "renamed\t2049\t18446744073709551615\t" + escapedName(fullFolder("p")) +
                  "\t写真.jpg\tSample0001.jpg");
}

TEST(JournalLine, WritableStepsKeepTheirPermissionBits)
{
    JournalStep step;
    step.kind = JournalStep::Kind::MadeWritable;
    step.device = 1;
    step.inode = 2;
    step.folder = fullFolder("p");
    step.oldName = "a.jpg";
    step.mode = 0444;
    EXPECT_EQ(journalLine(step),
              "writable\t1\t2\t" + escapedName(fullFolder("p")) + "\ta.jpg\t444");
    const auto back = parseJournalLine(journalLine(step));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, JournalStep::Kind::MadeWritable);
    EXPECT_EQ(back->mode, 0444u);
}

TEST(JournalLine, DamagedLinesAreRefused)
{
    for (const char* damaged :
         {"", "renamed", "renamed\t1\t2\t/p/\ta", "renamed\t1\t2\t/p/\ta\tb\tc",
          "moved\t1\t2\t/p/\ta\tb", "renamed\tx\t2\t/p/\ta\tb", "renamed\t1\t-2\t/p/\ta\tb",
          "renamed\t1\t2\trelative/\ta\tb", "renamed\t1\t2\t/p\ta\tb", "renamed\t1\t2\t/p/\t\tb",
          "renamed\t1\t2\t/p/\ta\\\tb", "renamed\t1\t2\t/p/\ta\\q\tb",
          "renamed\t1\t2\t/p/\ta\\x4\tb", "renamed\t1\t2\t/p/\ta\\xzz\tb",
          "writable\t1\t2\t/p/\ta\t999", "writable\t1\t2\t/p/\ta\t77777"}) {
        EXPECT_FALSE(parseJournalLine(damaged)) << damaged;
    }
}

} // namespace
} // namespace vimbrel
