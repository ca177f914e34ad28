#include "cli/serve_viewer.h"

#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "platform/file_system.h"
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

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// PATH set to `folders` while it lives.
class PathOverride
{
public:
    explicit PathOverride(const std::string& folders)
    {
        const char* old = std::getenv("PATH");
        mOld = old != nullptr ? old : "";
        ::setenv("PATH", folders.c_str(), 1);
    }
    ~PathOverride() { ::setenv("PATH", mOld.c_str(), 1); }
    PathOverride(const PathOverride&) = delete;
    PathOverride& operator=(const PathOverride&) = delete;

private:
    std::string mOld;
};

TEST(ServeViewer, ServesUntilAStopSignalAndPrintsTheUrlAlone)
{
    ensureApplication();
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

TEST(ServeViewer, OpenHandsTheUrlToTheDesktopAndLogsABrowserThatCannotStart)
{
    ensureApplication();
    TempFolder root;
    root.write("app/Work/index.htm", "<HTML>");
    root.write("pictures/a.jpg", "picture");
    const ViewerPages pages{root / "app/Work/index.htm", root / "app/Work/", root / "pictures/",
                            ""};
    // A stand-in for xdg-open that writes down what it was given.
    const std::string opener =
        root.write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.arg\"\n"
                                   "cat \"${1#file://}\" > \"$0.url.tmp\"\n"
                                   "mv \"$0.url.tmp\" \"$0.url\"\n");
    ::chmod(opener.c_str(), 0755);

    std::ostringstream out;
    std::ostringstream err;
    {
        const char* system = std::getenv("PATH");
        PathOverride path(root / "bin:" + (system != nullptr ? system : "/usr/bin:/bin"));
        // Waits (bounded) for the stand-in to have run, then stops the serving.
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (fs::isFile(opener + ".url") || waited.elapsed() > 10000) {
                poll.stop();
                ::raise(SIGTERM);
            }
        });
        poll.start(20);
        EXPECT_EQ(serveViewer(pages, root / "app/", true, true, {out, err}), 0);
    }
    // xdg-open got a page that leads to the printed URL, never the URL
    // itself; the page is gone once the serving ends.
    const std::string url = out.str().substr(0, out.str().find('\n'));
    const std::string page = testing::readFile(opener + ".arg");
    EXPECT_EQ(page.rfind("file:///", 0), 0u);
    EXPECT_EQ(page.find("127.0.0.1"), std::string::npos);
    EXPECT_NE(testing::readFile(opener + ".url").find("url=" + url + "\""), std::string::npos);
    EXPECT_FALSE(fs::isFile(page.substr(7)));
    EXPECT_EQ(err.str(), "");

    // Without any way to start a browser the viewer is still served, and the
    // failure is written to the log.
    std::ostringstream out2;
    std::ostringstream err2;
    {
        PathOverride path(root / "nothing-here");
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        EXPECT_EQ(serveViewer(pages, root / "app/", true, false, {out2, err2}), 0);
    }
    EXPECT_EQ(out2.str().rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_NE(err2.str().find("the browser could not be started for http://127.0.0.1:"),
              std::string::npos)
        << err2.str();
}

} // namespace
} // namespace vimbrel::cli
