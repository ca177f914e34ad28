#include "platform/whole_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

TEST(WholeFile, ReadsPlainFilesAndTellsMissingFromUnreadable)
{
    TempFolder temp;
    const std::string path = temp.write("a.bin", std::string("x\0y", 3));
    const WholeFile read = readWholeFile(path, 3);
    EXPECT_EQ(read.state, WholeFile::State::Read);
    EXPECT_EQ(read.bytes, std::string("x\0y", 3));

    EXPECT_EQ(readWholeFile(temp / "none", 10).state, WholeFile::State::Missing);
    EXPECT_EQ(readWholeFile(temp / "none/deeper", 10).state, WholeFile::State::Missing);

    const WholeFile folder = readWholeFile(temp.makeFolder("sub"), 10);
    EXPECT_EQ(folder.state, WholeFile::State::Unreadable);
    EXPECT_EQ(folder.errorNumber, EISDIR);

    // Too large: refused before a byte is read.
    const WholeFile large = readWholeFile(path, 2);
    EXPECT_EQ(large.state, WholeFile::State::Unreadable);
    EXPECT_EQ(large.errorNumber, EFBIG);
    EXPECT_TRUE(large.bytes.empty());
}

TEST(WholeFile, PipesAndDevicesAreRefusedWithoutWaiting)
{
    // A pipe with no writer would block a plain open for ever.
    TempFolder temp;
    const std::string fifo = temp / "x.wmf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const WholeFile pipe = readWholeFile(fifo, 1000);
    EXPECT_EQ(pipe.state, WholeFile::State::Unreadable);
    EXPECT_EQ(pipe.errorNumber, EINVAL);
    errno = 0;
    EXPECT_EQ(openPlainFile(fifo), -1);
    EXPECT_EQ(errno, EINVAL);

    // /dev/zero never ends; /dev/null would read as empty.
    EXPECT_EQ(readWholeFile("/dev/zero", 1000).state, WholeFile::State::Unreadable);
    EXPECT_EQ(openPlainFile("/dev/null"), -1);
}

TEST(WholeFile, OpensPlainFilesInBlockingMode)
{
    TempFolder temp;
    const int fd = openPlainFile(temp.write("a", "abc"));
    ASSERT_GE(fd, 0);
    char buffer[4] = {};
    EXPECT_EQ(::read(fd, buffer, sizeof buffer), 3);
    ::close(fd);
}

} // namespace
} // namespace vimbrel
