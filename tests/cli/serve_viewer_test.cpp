#include "cli/serve_viewer.h"

#include <signal.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/temp_folder.h"

namespace vimbrel::cli {
namespace {

using vimbrel::testing::TempFolder;

// The first line of an HTTP answer for `url`. The server answers on this
// thread's event loop, so the wait runs that loop (bounded by a timer).
QByteArray statusLineOf(const QUrl& url)
{
    QTcpSocket socket;
    QEventLoop loop;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        socket.write("GET " + url.path(QUrl::FullyEncoded).toLatin1() +
                     " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(url.port()) + "\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        if (socket.canReadLine()) {
            loop.quit();
        }
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    socket.connectToHost(url.host(), static_cast<quint16>(url.port()));
    loop.exec();
    return socket.readLine().trimmed();
}

TEST(ServeViewer, ServesUntilAStopSignalAndPrintsTheUrlAlone)
{
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    TempFolder root;
    root.write("app/Work/index.htm", "<HTML>");
    root.write("pictures/a.jpg", "picture");
    const ViewerPages pages{root / "app/Work/index.htm", root / "app/Work/", root / "pictures/",
                            ""};
    struct sigaction before
    {
    };
    ::sigaction(SIGTERM, nullptr, &before);

    for (const int signal : {SIGTERM, SIGINT}) {
        std::ostringstream out;
        std::ostringstream err;
        QByteArray status;
        // Runs once the serving loop runs: the URL has been printed by then.
        QTimer::singleShot(0, [&] {
            const std::string line = out.str();
            status = statusLineOf(QUrl(QString::fromStdString(line.substr(0, line.find('\n')))));
            ::raise(signal);
        });
        EXPECT_EQ(serveViewer(pages, root / "app/", false, false, {out, err}), 0);
        EXPECT_EQ(status, "HTTP/1.1 200 OK");
        const std::string printed = out.str();
        EXPECT_EQ(printed.rfind("http://127.0.0.1:", 0), 0u) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
        EXPECT_NE(printed.find("/app/Work/index.htm"), std::string::npos) << printed;
        EXPECT_TRUE(err.str().empty()) << err.str();
    }

    // The handlers that were there before are back.
    struct sigaction after
    {
    };
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

} // namespace
} // namespace vimbrel::cli
