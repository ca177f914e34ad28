#pragma once

#include <QByteArray>

#include <map>
#include <string>

namespace vimbrel::testing {

// Makes sure a Qt application object exists for the event loop of the tests
// that need one; it lives until the test program ends.
void ensureCoreApplication();

// One HTTP answer as it came over the wire.
struct HttpReply
{
    int status = 0;                             // 0 when no answer came
    std::map<std::string, std::string> headers; // names in lower case
    QByteArray body;
};

// Sends `request` (raw bytes, as a browser would) to 127.0.0.1:port and waits,
// on the calling thread's event loop and for at most a few seconds, for the
// answer. `head` tells that the answer carries no body.
HttpReply exchange(quint16 port, const QByteArray& request, bool head = false);

// A GET or HEAD request for `target` with the Host header the server expects.
QByteArray requestFor(const QByteArray& method, const QByteArray& target, quint16 port);

// A plain blocking connection to 127.0.0.1:port, for tests that need to
// control what goes over the wire and when. Every read waits at most
// `patienceSeconds`.
class RawConnection
{
public:
    explicit RawConnection(quint16 port, int patienceSeconds = 10);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return mFd >= 0; }
    bool send(const QByteArray& bytes);
    // Reads until the server closes the connection (or the patience runs
    // out: then `closed` is false).
    QByteArray readToEnd(bool* closed = nullptr);
    // Reads one whole answer (head, and a body of its Content-Length unless
    // `head`); status 0 when none came in time.
    HttpReply readReply(bool head = false);

private:
    bool fill();

    int mFd = -1;
    QByteArray mPending;
};

} // namespace vimbrel::testing
