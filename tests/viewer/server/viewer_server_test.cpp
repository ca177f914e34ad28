#include "viewer/server/viewer_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <QUrl>

#include <filesystem>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::exchange;
using testing::requestFor;
using testing::TempFolder;

// A server over a Work folder and a picture folder, with a secret file
// beside them that must never be served.
class ViewerServerTest : public ::testing::Test
{
protected:
    // Before the fixture, and so its server, is made.
    static void SetUpTestSuite() { testing::ensureCoreApplication(); }

    void SetUp() override
    {
        mWork = mRoot.makeFolder("app/Work");
        mPictures = mRoot.makeFolder("pictures");
        mRoot.write("app/Work/index.htm", "<HTML>\x95\\\r\n");
        mRoot.write("pictures/a.jpg", "jpeg bytes");
        mRoot.write("secret.txt", "secret");
        ASSERT_TRUE(mServer.start());
        mServer.allowFolder(mWork);
        mServer.allowFolder(mPictures);
    }

    // The request target of an absolute path, as the server writes its URLs.
    QByteArray target(const std::string& path) const
    {
        return QUrl(QString::fromStdString(mServer.urlFor(path)))
            .path(QUrl::FullyEncoded)
            .toLatin1();
    }

    QByteArray token() const { return target("/x").mid(1).chopped(2); }

    testing::HttpReply get(const QByteArray& target) const
    {
        return exchange(mServer.port(), requestFor("GET", target, mServer.port()));
    }

    TempFolder mRoot;
    std::string mWork;
    std::string mPictures;
    ViewerServer mServer;
};

TEST_F(ViewerServerTest, ServesPagesAsShiftJisHtmlThatIsNeverCached)
{
    const QUrl url = QUrl(QString::fromStdString(mServer.urlFor(mWork + "index.htm")));
    EXPECT_EQ(url.scheme(), "http");
    EXPECT_EQ(url.host(), "127.0.0.1");
    EXPECT_EQ(url.port(), mServer.port());

    const auto reply = get(target(mWork + "index.htm"));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, QByteArray("<HTML>\x95\\\r\n"));
    EXPECT_EQ(reply.headers.at("content-type"), "text/html; charset=Shift_JIS");
    EXPECT_EQ(reply.headers.at("cache-control"), "no-cache");

    const auto picture = get(target(mPictures + "a.jpg"));
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(picture.body, "jpeg bytes");
    EXPECT_EQ(picture.headers.at("content-type"), "image/jpeg");
}

TEST_F(ViewerServerTest, EachStartDrawsItsOwnLongToken)
{
    ViewerServer other;
    ASSERT_TRUE(other.start());
    EXPECT_NE(other.port(), mServer.port());
    const QByteArray mine = token();
    const QByteArray theirs =
        QUrl(QString::fromStdString(other.urlFor("/x"))).path().toLatin1().mid(1).chopped(2);
    EXPECT_GE(mine.size(), 32); // 128 bits in hexadecimal
    EXPECT_NE(mine, theirs);
}

TEST_F(ViewerServerTest, NamesThatNeedEncodingAreReachable)
{
    const std::string name = "表ソ #%?&'\" \\ 😀.jpg";
    mRoot.write("pictures/" + name, "odd");
    const auto reply = get(target(mPictures + name));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "odd");
}

TEST_F(ViewerServerTest, HeadAnswersLengthWithoutBodySoTheConnectionGoesOn)
{
    const QByteArray head = requestFor("HEAD", target(mPictures + "a.jpg"), mServer.port());
    const auto reply = exchange(mServer.port(), head, true);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.headers.at("content-length"), "10");
    EXPECT_TRUE(reply.body.isEmpty());

    // A GET behind the HEAD on the same connection is answered as the next
    // reply, which only works when the HEAD sent no body.
    testing::RawConnection connection(mServer.port());
    ASSERT_TRUE(
        connection.send(head + requestFor("GET", target(mWork + "index.htm"), mServer.port())));
    const auto first = connection.readReply(true);
    EXPECT_EQ(first.status, 200);
    EXPECT_TRUE(first.body.isEmpty());
    const auto second = connection.readReply();
    EXPECT_EQ(second.status, 200);
    EXPECT_EQ(second.body, QByteArray("<HTML>\x95\\\r\n"));
}

TEST_F(ViewerServerTest, LargeFilesArriveWhole)
{
    std::string big(6 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 2654435761u >> 24);
    }
    mRoot.write("pictures/big.bmp", big);
    const auto reply = get(target(mPictures + "big.bmp"));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.headers.at("content-type"), "image/bmp");
    ASSERT_EQ(reply.body.size(), qsizetype(big.size()));
    EXPECT_TRUE(reply.body == QByteArray::fromStdString(big));
}

TEST_F(ViewerServerTest, AClientThatLeavesMidFileLeavesTheServerWell)
{
    mRoot.write("pictures/big.bmp", std::string(8 * 1024 * 1024, 'x'));
    QTcpSocket socket;
    QEventLoop loop;
    qint64 received = 0;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        socket.write(requestFor("GET", target(mPictures + "big.bmp"), mServer.port()));
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        received += socket.readAll().size();
        if (received > 64 * 1024) {
            socket.abort();
            loop.quit();
        }
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), mServer.port());
    loop.exec();
    EXPECT_GT(received, 64 * 1024);
    EXPECT_LT(received, 8 * 1024 * 1024);
    // The server notices the closed connection on its own loop; later
    // requests are answered as before.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(get(target(mPictures + "a.jpg")).body, "jpeg bytes");
    }
}

TEST_F(ViewerServerTest, RefusesWrongTokenAndPathsOutsideTheFolders)
{
    const QByteArray good = target(mPictures + "a.jpg");
    const QByteArray wrongToken =
        "/" + QByteArray(token().size(), 'a') + good.mid(token().size() + 1);
    const QByteArray prefix = "/" + token();
    const QByteArray root = QByteArray::fromStdString(mRoot.path()).toPercentEncoding("/");
    const QByteArray pictures = prefix + root + "pictures/";
    for (const QByteArray& refused : {
             wrongToken,
             QByteArray(good.mid(token().size() + 1)), // no token at all
             prefix + root + "secret.txt",             // beside the folders
             pictures + "../secret.txt",
             pictures + "%2e%2e/secret.txt",
             pictures + "%2E%2E%2Fsecret.txt",
             pictures + ".%2e/secret.txt",
             pictures + "./a.jpg",
             pictures + "/a.jpg",
             pictures + "a.jpg%00.htm",
             pictures,            // a folder: no listing
             pictures.chopped(1), // the same without "/"
             prefix + "/etc/passwd",
             prefix + "%2Fetc%2Fpasswd",
         }) {
        const auto reply = get(refused);
        EXPECT_EQ(reply.status, 404) << refused.constData();
        EXPECT_EQ(reply.body, "404\n") << refused.constData();
    }
    EXPECT_EQ(get(good).status, 200);
}

TEST_F(ViewerServerTest, RefusesLinksThatLeadOutside)
{
    std::filesystem::create_symlink(mRoot / "secret.txt", mPictures + "link.jpg");
    std::filesystem::create_symlink(mRoot.path(), mPictures + "up");
    std::filesystem::create_symlink(mPictures + "a.jpg", mWork + "inside.jpg");
    EXPECT_EQ(get(target(mPictures + "link.jpg")).status, 404);
    EXPECT_EQ(get(target(mPictures + "up/secret.txt")).status, 404);
    const auto inside = get(target(mWork + "inside.jpg"));
    EXPECT_EQ(inside.status, 200); // a link from one served folder into another
    EXPECT_EQ(inside.body, "jpeg bytes");
}

TEST_F(ViewerServerTest, NeverOpensWhatIsNotAPlainFile)
{
    // Opening a named pipe for reading would block until a writer comes, so
    // the answer arriving at all shows that it was refused unopened.
    ASSERT_EQ(::mkfifo((mPictures + "pipe.jpg").c_str(), 0600), 0);
    EXPECT_EQ(get(target(mPictures + "pipe.jpg")).status, 404);
    EXPECT_EQ(get(target(mPictures + "a.jpg")).status, 200);
}

TEST_F(ViewerServerTest, RefusesOtherHostsAndMethods)
{
    const QByteArray path = target(mPictures + "a.jpg");
    const QByteArray port = QByteArray::number(mServer.port());
    const auto send = [&](const QByteArray& request) { return exchange(mServer.port(), request); };
    for (const QByteArray& host :
         {QByteArray("Host: localhost:") + port, QByteArray("Host: 127.0.0.1"),
          QByteArray("Host: evil.example:") + port,
          QByteArray("Host: 127.0.0.1:") + port + "\r\nHost: evil.example",
          QByteArray("X-Nothing: 1")}) {
        const auto reply = send("GET " + path + " HTTP/1.1\r\n" + host + "\r\n\r\n");
        EXPECT_EQ(reply.status, 403) << host.constData();
        EXPECT_EQ(reply.body, "403\n");
    }
    for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS"}) {
        const auto reply =
            send(QByteArray(method) + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + port +
                 "\r\nContent-Length: 3\r\n\r\nabc");
        EXPECT_EQ(reply.status, 405) << method;
        EXPECT_EQ(reply.headers.at("allow"), "GET, HEAD");
    }
    EXPECT_EQ(send(requestFor("GET", path, mServer.port())).status, 200);
}

TEST(ViewerServerStart, UrlsNeedARunningServerAndAbsolutePaths)
{
    testing::ensureCoreApplication();
    ViewerServer server;
    EXPECT_FALSE(server.isListening());
    EXPECT_TRUE(QUrl(QString::fromStdString(server.urlFor("/tmp/index.htm"))).isEmpty());
    ASSERT_TRUE(server.start());
    const quint16 port = server.port();
    EXPECT_TRUE(server.start()); // starting again keeps port and token
    EXPECT_EQ(server.port(), port);
    EXPECT_TRUE(QUrl(QString::fromStdString(server.urlFor("relative/index.htm"))).isEmpty());
    // Nothing is allowed yet, so nothing is served.
    EXPECT_EQ(
        exchange(port,
                 requestFor(
                     "GET",
                     QUrl(QString::fromStdString(server.urlFor("/etc/hostname"))).path().toLatin1(),
                     port))
            .status,
        404);
}

} // namespace
} // namespace vimbrel
