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

} // namespace vimbrel::testing
