#include "viewer/server/served_folders.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include <QUrl>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

std::string contentOf(int fd)
{
    std::string content;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
        content.append(buffer, size_t(got));
    }
    ::close(fd);
    return content;
}

// Swaps two names again and again until stopped: what a hostile process on
// the machine could do while the server opens files.
class Swapper
{
public:
    Swapper(std::string a, std::string b) : mA(std::move(a)), mB(std::move(b))
    {
        mThread = std::thread([this] {
            while (!mStop.load()) {
                ::syscall(SYS_renameat2, AT_FDCWD, mA.c_str(), AT_FDCWD, mB.c_str(),
                          RENAME_EXCHANGE);
            }
        });
    }
    ~Swapper()
    {
        mStop.store(true);
        mThread.join();
    }

private:
    std::string mA;
    std::string mB;
    std::atomic<bool> mStop = false;
    std::thread mThread;
};

class ServedFoldersTest : public ::testing::TestWithParam<BeneathMode>
{
protected:
    TempFolder mRoot;
    std::string mPictures = mRoot.makeFolder("pictures");
    std::string mOutside = mRoot.makeFolder("outside");
};

TEST_P(ServedFoldersTest, OpensFilesInsideAndFollowsLinksBetweenServedFolders)
{
    ServedFolders folders(GetParam());
    mRoot.write("pictures/sub/a.jpg", "a");
    mRoot.write("outside/secret", "secret");
    const std::string work = mRoot.makeFolder("work");
    std::filesystem::create_symlink(mPictures + "sub/a.jpg", work + "a.jpg");
    std::filesystem::create_symlink("sub/a.jpg", mPictures + "relative.jpg");
    std::filesystem::create_symlink(mOutside + "secret", mPictures + "out.jpg");
    std::filesystem::create_symlink("../outside/secret", mPictures + "up.jpg");
    folders.allow(mPictures);
    folders.allow(work);

    EXPECT_EQ(contentOf(folders.open(mPictures + "sub/a.jpg")), "a");
    EXPECT_EQ(contentOf(folders.open(mPictures + "relative.jpg")), "a");
    EXPECT_EQ(contentOf(folders.open(work + "a.jpg")), "a");
    EXPECT_EQ(folders.open(mPictures + "out.jpg"), -1);
    EXPECT_EQ(folders.open(mPictures + "up.jpg"), -1);
    EXPECT_EQ(folders.open(mOutside + "secret"), -1);
    EXPECT_EQ(folders.open(mPictures + "sub"), -1);
    EXPECT_EQ(folders.open(mPictures + "../outside/secret"), -1);
}

TEST_P(ServedFoldersTest, AFolderSwappedWithALinkOutNeverLeaksAFile)
{
    ServedFolders folders(GetParam());
    mRoot.write("pictures/sub/passwd", "inside");
    mRoot.write("outside/passwd", "secret");
    std::filesystem::create_symlink(mOutside, mPictures + "swap");
    folders.allow(mPictures);

    int leaks = 0;
    int served = 0;
    {
        const Swapper swapper(mPictures + "sub", mPictures + "swap");
        for (int i = 0; i < 5000; ++i) {
            const int fd = folders.open(mPictures + "sub/passwd");
            if (fd >= 0) {
                const std::string content = contentOf(fd);
                leaks += content == "secret" ? 1 : 0;
                served += content == "inside" ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(leaks, 0);
    EXPECT_GT(served, 0);
}

TEST_P(ServedFoldersTest, APictureSwappedWithAPipeIsRefusedWithoutWaiting)
{
    ServedFolders folders(GetParam());
    mRoot.write("pictures/a.jpg", "jpeg");
    ASSERT_EQ(::mkfifo((mPictures + "pipe").c_str(), 0600), 0);
    folders.allow(mPictures);

    int answered = 0;
    {
        const Swapper swapper(mPictures + "a.jpg", mPictures + "pipe");
        for (int i = 0; i < 5000; ++i) {
            const int fd = folders.open(mPictures + "a.jpg");
            // Each open returns (a blocking open of the pipe would hang here),
            // with the picture or with nothing.
            if (fd < 0 || contentOf(fd) == "jpeg") {
                ++answered;
            }
        }
    }
    EXPECT_EQ(answered, 5000);
}

INSTANTIATE_TEST_SUITE_P(BothWays, ServedFoldersTest,
                         ::testing::Values(BeneathMode::Kernel, BeneathMode::Walk));

TEST(ServedFoldersServer, EveryRequestDuringASwapIsAnsweredAndNoneLeaks)
{
    TempFolder root;
    const std::string pictures = root.makeFolder("pictures");
    root.write("pictures/sub/passwd", "inside");
    root.write("outside/passwd", "secret");
    std::filesystem::create_symlink(root / "outside", pictures + "swap");
    ViewerServer server;
    ASSERT_TRUE(server.start());
    server.allowFolder(pictures);
    const QByteArray request = "GET " +
                               QUrl(QString::fromStdString(server.urlFor(pictures + "sub/passwd")))
                                   .path(QUrl::FullyEncoded)
                                   .toLatin1() +
                               " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(server.port()) +
                               "\r\n\r\n";

    int leaks = 0;
    int answered = 0;
    {
        const Swapper swapper(pictures + "sub", pictures + "swap");
        testing::RawConnection connection(server.port());
        for (int i = 0; i < 2000; ++i) {
            ASSERT_TRUE(connection.send(request));
            const testing::HttpReply reply = connection.readReply();
            answered += reply.status == 200 || reply.status == 404 ? 1 : 0;
            leaks += reply.body.contains("secret") ? 1 : 0;
        }
    }
    EXPECT_EQ(answered, 2000);
    EXPECT_EQ(leaks, 0);
}

} // namespace
} // namespace vimbrel
