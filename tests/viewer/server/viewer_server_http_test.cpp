#include "viewer/server/viewer_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QUrl>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer/server/served_pictures_test.h"

namespace vimbrel {
namespace {

using testing::HttpReply;
using testing::RawConnection;
using testing::TempFolder;

// How the server speaks HTTP: limits, pipelining, ranges, validators and the
// headers every answer carries.
class ViewerServerHttpTest : public testing::ServedPicturesTest
{
protected:
    void SetUp() override { startWith({}); }
};

TEST_F(ViewerServerHttpTest, EveryAnswerCarriesTheProtectiveHeaders)
{
    const QByteArray ok = get("a.jpg");
    const QByteArray forbidden = "GET " + target("a.jpg") + " HTTP/1.1\r\nHost: evil\r\n\r\n";
    const QByteArray missing = get("none.jpg");
    for (const auto& [request, status] :
         {std::pair{ok, 200}, std::pair{forbidden, 403}, std::pair{missing, 404}}) {
        const HttpReply reply = ask(request);
        ASSERT_EQ(reply.status, status);
        EXPECT_EQ(reply.headers.at("x-content-type-options"), "nosniff");
        EXPECT_EQ(reply.headers.at("referrer-policy"), "no-referrer");
        EXPECT_EQ(reply.headers.at("cross-origin-resource-policy"), "same-origin");
        EXPECT_EQ(reply.headers.at("content-security-policy"), "frame-ancestors 'self'");
        EXPECT_EQ(reply.headers.at("x-frame-options"), "SAMEORIGIN");
        EXPECT_EQ(reply.headers.at("cache-control"), "no-cache");
    }
}

TEST_F(ViewerServerHttpTest, PipelinedRequestsAreAnsweredInOrderAndCloseIsHonoured)
{
    RawConnection connection(mServer->port());
    ASSERT_TRUE(connection.send(get("a.jpg") + get("b.jpg") + get("none.jpg") +
                                get("a.jpg", "Connection: close\r\n")));
    EXPECT_EQ(connection.readReply().body, "0123456789");
    EXPECT_EQ(connection.readReply().body, "bbb");
    EXPECT_EQ(connection.readReply().status, 404);
    EXPECT_EQ(connection.readReply().body, "0123456789");
    bool closed = false;
    EXPECT_TRUE(connection.readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);

    // HTTP/1.0 closes after its one answer too.
    RawConnection old(mServer->port());
    ASSERT_TRUE(old.send("GET " + target("b.jpg") + " HTTP/1.0\r\n" + host() + "\r\n\r\n"));
    EXPECT_TRUE(old.readToEnd(&closed).endsWith("\r\n\r\nbbb"));
    EXPECT_TRUE(closed);
}

TEST_F(ViewerServerHttpTest, RangesGivePartsOfAFile)
{
    HttpReply part = ask(get("a.jpg", "Range: bytes=2-4\r\n"));
    EXPECT_EQ(part.status, 206);
    EXPECT_EQ(part.body, "234");
    EXPECT_EQ(part.headers.at("content-range"), "bytes 2-4/10");
    EXPECT_EQ(part.headers.at("content-type"), "image/jpeg");

    part = ask(get("a.jpg", "Range: bytes=-3\r\n"));
    EXPECT_EQ(part.body, "789");
    part = ask(get("a.jpg", "Range: bytes=7-\r\n"));
    EXPECT_EQ(part.body, "789");

    const HttpReply beyond = ask(get("a.jpg", "Range: bytes=10-\r\n"));
    EXPECT_EQ(beyond.status, 416);
    EXPECT_EQ(beyond.headers.at("content-range"), "bytes */10");

    // Several ranges, or one that cannot be read: the whole file.
    EXPECT_EQ(ask(get("a.jpg", "Range: bytes=0-1,4-5\r\n")).status, 200);
    EXPECT_EQ(ask(get("a.jpg", "Range: lines=1-2\r\n")).body, "0123456789");
}

TEST_F(ViewerServerHttpTest, ValidatorsGiveNotModifiedUntilTheFileChanges)
{
    const HttpReply first = ask(get("a.jpg"));
    const std::string tag = first.headers.at("etag");
    const std::string modified = first.headers.at("last-modified");
    EXPECT_EQ(first.headers.at("cache-control"), "no-cache");

    const QByteArray byTag = "If-None-Match: " + QByteArray::fromStdString(tag) + "\r\n";
    const HttpReply same = ask(get("a.jpg", byTag));
    EXPECT_EQ(same.status, 304);
    EXPECT_TRUE(same.body.isEmpty());
    EXPECT_EQ(same.headers.at("etag"), tag);
    const QByteArray byDate = "If-Modified-Since: " + QByteArray::fromStdString(modified) + "\r\n";
    EXPECT_EQ(ask(get("a.jpg", byDate)).status, 304);
    EXPECT_EQ(ask(get("a.jpg", "If-None-Match: \"other\"\r\n")).status, 200);

    // A new Show run rewrites the file: the old tag no longer matches.
    mRoot.write("pictures/a.jpg", "changed!!!!");
    const HttpReply changed = ask(get("a.jpg", byTag));
    EXPECT_EQ(changed.status, 200);
    EXPECT_EQ(changed.body, "changed!!!!");
    EXPECT_NE(changed.headers.at("etag"), tag);
}

TEST_F(ViewerServerHttpTest, AFileCutShortWhileSentEndsItsAnswerAtOnce)
{
    const qsizetype announced = 64 << 20;
    const std::string big = mRoot.write("pictures/big.jpg", std::string(size_t(announced), 'x'));
    // The patience is far below the idle timeout: only a close ends the read.
    RawConnection connection(mServer->port(), 10);
    ASSERT_TRUE(connection.send(get("big.jpg", "Connection: close\r\n")));
    // Once the head is there the server is sending; the rest of the file
    // goes away while it does.
    const HttpReply head = connection.readReply(true);
    ASSERT_EQ(head.status, 200);
    EXPECT_EQ(head.headers.at("content-length"), std::to_string(announced));
    ASSERT_EQ(::truncate(big.c_str(), 1 << 20), 0);
    bool closed = false;
    const QByteArray rest = connection.readToEnd(&closed);
    EXPECT_TRUE(closed);
    EXPECT_LT(rest.size(), announced);
    // The server is as good as before.
    EXPECT_EQ(ask(get("b.jpg")).body, "bbb");
}

TEST_F(ViewerServerHttpTest, AFileThatGrowsWhileSentGivesTheAnnouncedLength)
{
    const size_t announced = size_t(16) << 20;
    const std::string big = mRoot.write("pictures/big.jpg", std::string(announced, 'x'));
    RawConnection connection(mServer->port(), 10);
    ASSERT_TRUE(connection.send(get("big.jpg", "Connection: close\r\n")));
    ASSERT_EQ(connection.readReply(true).status, 200);
    {
        FILE* file = std::fopen(big.c_str(), "ab");
        ASSERT_NE(file, nullptr);
        const std::string more(size_t(4) << 20, 'y');
        std::fwrite(more.data(), 1, more.size(), file);
        std::fclose(file);
    }
    bool closed = false;
    const QByteArray rest = connection.readToEnd(&closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(size_t(rest.size()), announced);
    EXPECT_FALSE(rest.contains('y'));
    // A range asks for one part and gets that part only, also of the grown file.
    EXPECT_EQ(ask(get("big.jpg", "Range: bytes=20971519-\r\n")).body, "y");
}

TEST_F(ViewerServerHttpTest, ABodyIsRefusedBeforeItIsSent)
{
    // 200 MB announced, none sent: the answer comes at once and the
    // connection closes, so the body is never taken in.
    RawConnection connection(mServer->port());
    ASSERT_TRUE(connection.send("POST " + target("a.jpg") + " HTTP/1.1\r\n" + host() +
                                "\r\nContent-Length: 209715200\r\n\r\n"));
    const HttpReply reply = connection.readReply();
    EXPECT_EQ(reply.status, 405);
    EXPECT_EQ(reply.headers.at("allow"), "GET, HEAD");
    bool closed = false;
    connection.readToEnd(&closed);
    EXPECT_TRUE(closed);
}

TEST_F(ViewerServerHttpTest, OversizedAndMalformedRequestsAreRefusedAtOnce)
{
    RawConnection longLine(mServer->port());
    longLine.send("GET /" + QByteArray(1024 * 1024, 'a') + " HTTP/1.1\r\n" + host() + "\r\n\r\n");
    const int status = longLine.readReply().status;
    EXPECT_TRUE(status == 414 || status == 431) << status;

    RawConnection longHeader(mServer->port());
    longHeader.send("GET " + target("a.jpg") + " HTTP/1.1\r\n" + host() +
                    "\r\nX-Big: " + QByteArray(1024 * 1024, 'b') + "\r\n\r\n");
    EXPECT_EQ(longHeader.readReply().status, 431);

    EXPECT_EQ(ask("GET " + target("a.jpg") + " HTTP/1.1\r\n" + host() +
                  "\r\nA header without colon\r\n\r\n")
                  .status,
              400);
    EXPECT_EQ(ask("GET " + target("a.jpg") + " HTTP/7.0\r\n" + host() + "\r\n\r\n").status, 505);
    // A request line that cannot be read at all gets the connection closed.
    RawConnection nonsense(mServer->port());
    nonsense.send("NONSENSE\r\n\r\n");
    bool closed = false;
    EXPECT_TRUE(nonsense.readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);
    // The server is as good as before.
    EXPECT_EQ(ask(get("b.jpg")).body, "bbb");
}

TEST_F(ViewerServerHttpTest, IdleConnectionsAreClosedAfterTheTimeout)
{
    ViewerServer::Limits limits;
    limits.idleSeconds = 1;
    startWith(limits);
    RawConnection idle(mServer->port(), 30);
    bool closed = false;
    // Nothing is sent: the server, not the 30 s patience, ends the wait.
    EXPECT_TRUE(idle.readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);
    EXPECT_EQ(ask(get("b.jpg")).body, "bbb");
}

} // namespace
} // namespace vimbrel
