#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QUrl>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_metafiles.h"
#include "tests/viewer/server/served_pictures_test.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel {
namespace {

using namespace std::chrono_literals;
using testing::HttpReply;
using testing::RawConnection;
using testing::TempFolder;

// Careless or hostile local programs against the server: clients that hold
// connections without asking, that trickle their heads, that send what is
// not HTTP, and pictures that ask for endless drawing.
// Hundreds of sockets held open against the server from a thread of their
// own: each trickles a request head that never ends, a byte at a time, or
// sends nothing at all; one the server drops is opened again at once.
class Siege
{
public:
    enum class Kind
    {
        Trickle,
        Idle,
    };

    Siege(uint16_t port, int sockets, Kind kind) : mPort(port), mKind(kind)
    {
        mSockets.assign(size_t(sockets), -1);
        for (int& socket : mSockets) {
            socket = connectTo();
        }
        mThread = std::thread([this] { run(); });
    }

    ~Siege()
    {
        mStop = true;
        mThread.join();
        for (const int socket : mSockets) {
            if (socket >= 0) {
                ::close(socket);
            }
        }
    }

    int reopened() const { return mReopened; }

private:
    int connectTo() const
    {
        const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(mPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (socket < 0 ||
            ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            if (socket >= 0) {
                ::close(socket);
            }
            return -1;
        }
        ::fcntl(socket, F_SETFL, O_NONBLOCK);
        return socket;
    }

    void reopen(int& socket)
    {
        if (socket >= 0) {
            ::close(socket);
        }
        socket = connectTo();
        ++mReopened;
    }

    void run()
    {
        const QByteArray head = "GET /" + QByteArray(60000, 'a');
        auto nextByte = std::chrono::steady_clock::now();
        size_t sent = 0;
        while (!mStop) {
            std::vector<pollfd> watched;
            for (const int socket : mSockets) {
                watched.push_back({socket, POLLIN, 0});
            }
            ::poll(watched.data(), watched.size(), 50);
            for (size_t i = 0; i < watched.size(); ++i) {
                char buffer[4096];
                if (mSockets[i] < 0 || ((watched[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
                                        ::recv(mSockets[i], buffer, sizeof buffer, 0) <= 0)) {
                    reopen(mSockets[i]);
                }
            }
            if (mKind == Kind::Trickle && std::chrono::steady_clock::now() >= nextByte) {
                nextByte += 250ms;
                for (int& socket : mSockets) {
                    if (::send(socket, head.constData() + sent % head.size(), 1, MSG_NOSIGNAL) !=
                        1) {
                        reopen(socket);
                    }
                }
                ++sent;
            }
        }
    }

    const uint16_t mPort;
    const Kind mKind;
    std::vector<int> mSockets;
    std::atomic<bool> mStop{false};
    std::atomic<int> mReopened{0};
    std::thread mThread;
};

class HostileClientsTest : public testing::ServedPicturesTest
{
protected:
    void start(const ViewerServer::Limits& limits = {}) { startWith(limits); }

    // One request on a connection of its own, and whether the server closed
    // the connection after its answer.
    std::pair<HttpReply, bool> askAndSeeTheEnd(const QByteArray& request) const
    {
        RawConnection connection(mServer->port(), 5);
        connection.send(request);
        HttpReply reply = connection.readReply();
        bool closed = false;
        connection.readToEnd(&closed);
        return {reply, closed};
    }
};

TEST_F(HostileClientsTest, RequestsThatAreNotValidHttpGet400AndTheConnectionCloses)
{
    start();
    const QByteArray path = target("a.jpg");
    const QByteArray nul(1, '\0');
    const std::vector<QByteArray> broken = {
        // A NUL in the target once made the part before it the whole request.
        "GET " + path + nul + "/../../x HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + nul + "x\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A" + nul + "b: c\r\n\r\n",
        "GE" + nul + "T " + path + " HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A: b\rc\r\n\r\n",
        "GET " + path + "\x01 HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + "\x7f HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + "\tx HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + " x HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A: b\x02\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A: b\r\n c\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A : b\r\n\r\n",
    };
    for (const QByteArray& request : broken) {
        const auto [reply, closed] = askAndSeeTheEnd(request);
        EXPECT_EQ(reply.status, 400) << request.toPercentEncoding().toStdString();
        EXPECT_TRUE(closed) << request.toPercentEncoding().toStdString();
    }
    // What HTTP allows still passes: a query, blanks around values, an empty
    // value, bare LF line ends.
    const std::vector<QByteArray> valid = {
        "GET " + path + "?a=1&b HTTP/1.1\r\n" + host() + "\r\n\r\n",
        "GET " + path + " HTTP/1.1\r\n" + host() + "\r\nX-A:   b \t c\r\nX-B:\r\n\r\n",
        "GET " + path + " HTTP/1.1\n" + host() + "\nX-A: b\n\n",
        "GET " + path + " HTTP/1.0\r\n\r\n",
    };
    for (const QByteArray& request : valid) {
        const HttpReply reply = ask(request);
        // HTTP/1.0 without Host is refused for its host, not for its form.
        EXPECT_EQ(reply.status, request.contains("1.0") ? 403 : 200) << request.toStdString();
    }
}

TEST_F(HostileClientsTest, TheServersOwnAddressesTakeSignsOfLifeAndNothingElse)
{
    start();
    const QByteArray token = target("a.jpg").split('/').at(1);
    const auto own = [&](const QByteArray& rest) {
        return ask("GET /" + token + "~/" + rest + " HTTP/1.1\r\n" + host() + "\r\n\r\n");
    };
    EXPECT_EQ(own("alive?view=w1&state=open").status, 204);
    EXPECT_EQ(own("presence").body, "{\"open\":1,\"shown\":true,\"index\":0}");
    EXPECT_EQ(own("alive?view=w1&state=gone").status, 204);
    EXPECT_EQ(own("presence").body, "{\"open\":0,\"shown\":true,\"index\":0}");
    EXPECT_EQ(own("alive?state=open").status, 400);
    EXPECT_EQ(own("alive?view=" + QByteArray(65, 'x') + "&state=open").status, 400);
    EXPECT_EQ(own("helper.js").headers.at("content-type"), "text/javascript; charset=US-ASCII");
    EXPECT_EQ(own("other").status, 404);
    // Another token's addresses are nobody's.
    EXPECT_EQ(ask("GET /0123~/presence HTTP/1.1\r\n" + host() + "\r\n\r\n").status, 404);
    EXPECT_EQ(mServer->presence().openWindows(), 0u);
}

TEST_F(HostileClientsTest, ANewcomerBeyondTheCapClosesTheIdlestConnection)
{
    ViewerServer::Limits limits;
    limits.connections = 3;
    limits.threads = 1;
    start(limits);
    std::vector<std::unique_ptr<RawConnection>> held;
    for (int i = 0; i < 3; ++i) {
        held.push_back(std::make_unique<RawConnection>(mServer->port(), 5));
        held.back()->send(get("a.jpg"));
        ASSERT_EQ(held.back()->readReply().status, 200); // kept open, idle
    }
    // One that never asks: it goes first when room is needed.
    RawConnection silent(mServer->port(), 5);
    held[1]->send(get("a.jpg"));
    ASSERT_EQ(held[1]->readReply().status, 200);
    EXPECT_EQ(ask(get("a.jpg")).status, 200);
    bool closed = false;
    EXPECT_TRUE(silent.readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);
    // Then the keep-alive connection idle longest, the first one.
    EXPECT_EQ(ask(get("a.jpg")).status, 200);
    EXPECT_TRUE(held[0]->readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);
    held[2]->send(get("a.jpg"));
    EXPECT_EQ(held[2]->readReply().status, 200);
}

TEST_F(HostileClientsTest, WhenEveryConnectionIsInARequestANewcomerGets503)
{
    ViewerServer::Limits limits;
    limits.connections = 2;
    limits.threads = 1;
    start(limits);
    mRoot.write("pictures/big.jpg", std::string(size_t(64) << 20, 'x'));
    // Two readers that never read: their answers stay under way.
    RawConnection first(mServer->port(), 5);
    RawConnection second(mServer->port(), 5);
    for (RawConnection* reader : {&first, &second}) {
        reader->send(get("big.jpg"));
        ASSERT_EQ(reader->readReply(true).status, 200);
    }
    const auto [reply, closed] = askAndSeeTheEnd(get("a.jpg"));
    EXPECT_EQ(reply.status, 503);
    EXPECT_TRUE(closed);
}

TEST_F(HostileClientsTest, AHeadThatTricklesOrNeverComesIsCutOffAtItsDeadline)
{
    ViewerServer::Limits limits;
    limits.silentSeconds = 1;
    limits.headSeconds = 2;
    limits.idleSeconds = 2;
    start(limits);
    RawConnection silent(mServer->port(), 20);
    RawConnection trickling(mServer->port(), 20);
    RawConnection keptAlive(mServer->port(), 20);
    keptAlive.send(get("a.jpg"));
    ASSERT_EQ(keptAlive.readReply().status, 200);
    // A byte every 100 ms restarts the engine's idle timer each time; the
    // head's own deadline still ends it.
    const QByteArray endless =
        "GET " + target("a.jpg") + " HTTP/1.1\r\nX-Slow: " + QByteArray(1000, 'a');
    bool trickleCut = false;
    bool keepAliveCut = false;
    for (qsizetype i = 0; i < endless.size() && !(trickleCut && keepAliveCut); ++i) {
        trickleCut = trickleCut || !trickling.send(endless.mid(i, 1));
        keepAliveCut = keepAliveCut || !keptAlive.send(endless.mid(i, 1));
        std::this_thread::sleep_for(100ms); // the pace of the trickle
    }
    EXPECT_TRUE(trickleCut);
    EXPECT_TRUE(keepAliveCut);
    bool closed = false;
    EXPECT_TRUE(silent.readToEnd(&closed).isEmpty());
    EXPECT_TRUE(closed);
    EXPECT_TRUE(trickling.readToEnd(&closed).isEmpty());
}

// A browser's way with the server: six keep-alive connections taking turns,
// each request sent again once on a fresh connection when its connection
// turned out closed before any answer came (as browsers do for GET). The
// share of `pages` requests that got their page.
double pagesAnswered(uint16_t port, const QByteArray& request, int pages)
{
    std::vector<std::unique_ptr<RawConnection>> connections;
    for (int i = 0; i < 6; ++i) {
        connections.push_back(std::make_unique<RawConnection>(port, 3));
    }
    int answered = 0;
    for (int page = 0; page < pages; ++page) {
        std::unique_ptr<RawConnection>& connection = connections[size_t(page) % 6];
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (connection->send(request)) {
                const HttpReply reply = connection->readReply();
                if (reply.status == 200) {
                    ++answered;
                    break;
                }
            }
            connection = std::make_unique<RawConnection>(port, 3);
        }
        std::this_thread::sleep_for(100ms); // the pace of a person clicking
    }
    return double(answered) / pages;
}

TEST_F(HostileClientsTest, ThreeHundredTricklingOrIdleSocketsLeaveTheBrowserItsPages)
{
    ViewerServer::Limits limits;
    limits.silentSeconds = 1;
    limits.headSeconds = 2;
    start(limits);
    for (const Siege::Kind kind : {Siege::Kind::Trickle, Siege::Kind::Idle}) {
        const Siege siege(mServer->port(), 300, kind);
        EXPECT_GE(pagesAnswered(mServer->port(), get("a.jpg"), 40), 0.95)
            << (kind == Siege::Kind::Trickle ? "trickling" : "idle");
        EXPECT_GT(siege.reopened(), 0); // the server did drop the besiegers
    }
}

} // namespace
} // namespace vimbrel
