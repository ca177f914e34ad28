#include "cli/serve_viewer.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <memory>
#include <ostream>

#include "viewer/server/viewer_opener.h"

namespace vimbrel::cli {
namespace {

// The write end of the pipe that turns a stop signal into an event; a signal
// handler may only do async-signal-safe things, and write(2) is one.
int gStopPipeWrite = -1;

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = ::write(gStopPipeWrite, &byte, 1);
    errno = saved;
}

// While it lives, SIGINT and SIGTERM end `loop` instead of the process. The
// handlers before it are put back when it goes.
class StopSignals
{
public:
    explicit StopSignals(QEventLoop& loop)
    {
        if (::pipe2(mPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        gStopPipeWrite = mPipe[1];
        struct sigaction action
        {
        };
        action.sa_handler = &onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &action, &mOldInt);
        ::sigaction(SIGTERM, &action, &mOldTerm);
        mNotifier = std::make_unique<QSocketNotifier>(mPipe[0], QSocketNotifier::Read);
        QObject::connect(mNotifier.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }

    ~StopSignals()
    {
        if (!mNotifier) {
            return;
        }
        ::sigaction(SIGINT, &mOldInt, nullptr);
        ::sigaction(SIGTERM, &mOldTerm, nullptr);
        mNotifier.reset();
        gStopPipeWrite = -1;
        ::close(mPipe[0]);
        ::close(mPipe[1]);
    }

    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool armed() const { return mNotifier != nullptr; }

private:
    std::array<int, 2> mPipe{-1, -1};
    struct sigaction mOldInt
    {
    };
    struct sigaction mOldTerm
    {
    };
    std::unique_ptr<QSocketNotifier> mNotifier;
};

// The server needs an event loop, and so an application object; vimbrel-cli
// has none of its own until here.
void ensureApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "vimbrel-cli";
        static char* argv[] = {name, nullptr};
        static QCoreApplication* application = new QCoreApplication(argc, argv);
        (void)application;
    }
}

} // namespace

int serveViewer(const ViewerPages& pages, const std::string& programFolder, bool openBrowser,
                bool maximised, Streams streams)
{
    ensureApplication();
    QEventLoop loop;
    StopSignals stop(loop);
    if (!stop.armed()) {
        streams.err << "vimbrel-cli: cannot watch for stop signals\n";
        return 1;
    }
    ViewerOpener opener(programFolder);
    const QUrl url = opener.serve(pages);
    if (url.isEmpty()) {
        streams.err << "vimbrel-cli: the viewer server cannot listen on 127.0.0.1\n";
        return 1;
    }
    streams.out << url.toString(QUrl::FullyEncoded).toStdString() << std::endl;
    if (openBrowser) {
        const ViewerOpener::Outcome outcome = opener.open(pages, maximised);
        if (!outcome.opened) {
            streams.err << "vimbrel-cli: " << outcome.failure << "\n";
        }
    }
    loop.exec();
    return 0;
}

} // namespace vimbrel::cli
