#include "tests/support/http_exchange.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace vimbrel::testing {
namespace {

constexpr int kPatienceMs = 10000;

// Parses the head of `data` when it is all there; returns the offset of the
// body, or -1 while the head is incomplete.
qsizetype parseHead(const QByteArray& data, HttpReply& reply)
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0) {
        return -1;
    }
    const QList<QByteArray> lines = data.left(end).split('\n');
    const QList<QByteArray> statusLine = lines.front().trimmed().split(' ');
    reply.status = statusLine.size() > 1 ? statusLine[1].toInt() : 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) {
            reply.headers[lines[i].left(colon).trimmed().toLower().toStdString()] =
                lines[i].mid(colon + 1).trimmed().toStdString();
        }
    }
    return end + 4;
}

} // namespace

void ensureCoreApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_viewer";
        static char* argv[] = {name, nullptr};
        static QCoreApplication* application = new QCoreApplication(argc, argv);
        (void)application;
    }
}

HttpReply exchange(quint16 port, const QByteArray& request, bool head)
{
    ensureCoreApplication();
    HttpReply reply;
    QTcpSocket socket;
    QEventLoop loop;
    QByteArray data;
    qsizetype bodyStart = -1;
    const auto finished = [&] {
        if (bodyStart < 0) {
            bodyStart = parseHead(data, reply);
        }
        if (bodyStart < 0) {
            return false;
        }
        // No Content and Not Modified carry no body, and say no length.
        if (head || reply.status == 204 || reply.status == 304) {
            return true;
        }
        const auto length = reply.headers.find("content-length");
        return length != reply.headers.end() &&
               data.size() - bodyStart >= std::stoll(length->second);
    };
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        data += socket.readAll();
        if (finished()) {
            loop.quit();
        }
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kPatienceMs, &loop, &QEventLoop::quit);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    loop.exec();
    if (!finished()) {
        reply.status = reply.status == 0 ? 0 : -1; // an answer cut short
    }
    if (bodyStart >= 0) {
        reply.body = data.mid(bodyStart);
    }
    return reply;
}

QByteArray requestFor(const QByteArray& method, const QByteArray& target, quint16 port)
{
    return method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nConnection: keep-alive\r\n\r\n";
}

RawConnection::RawConnection(quint16 port, int patienceSeconds)
{
    mFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (mFd < 0) {
        return;
    }
    timeval patience = {};
    patience.tv_sec = patienceSeconds;
    ::setsockopt(mFd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    ::setsockopt(mFd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(mFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(mFd);
        mFd = -1;
    }
}

RawConnection::~RawConnection()
{
    if (mFd >= 0) {
        ::close(mFd);
    }
}

bool RawConnection::send(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (mFd >= 0 && done < bytes.size()) {
        const ssize_t sent =
            ::send(mFd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        done += sent;
    }
    return mFd >= 0;
}

bool RawConnection::fill()
{
    char buffer[64 * 1024];
    const ssize_t got = mFd >= 0 ? ::recv(mFd, buffer, sizeof buffer, 0) : -1;
    if (got <= 0) {
        return false;
    }
    mPending.append(buffer, got);
    return true;
}

QByteArray RawConnection::readToEnd(bool* closed)
{
    for (;;) {
        char buffer[64 * 1024];
        const ssize_t got = mFd >= 0 ? ::recv(mFd, buffer, sizeof buffer, 0) : -1;
        if (got > 0) {
            mPending.append(buffer, got);
            continue;
        }
        if (closed != nullptr) {
            *closed = got == 0 || (got < 0 && errno == ECONNRESET);
        }
        QByteArray all = mPending;
        mPending.clear();
        return all;
    }
}

HttpReply RawConnection::readReply(bool head)
{
    HttpReply reply;
    qsizetype bodyStart = -1;
    while ((bodyStart = parseHead(mPending, reply)) < 0) {
        if (!fill()) {
            return {};
        }
    }
    const auto length = reply.headers.find("content-length");
    const qsizetype bodyLength =
        head || length == reply.headers.end() ? 0 : qsizetype(std::stoll(length->second));
    while (mPending.size() - bodyStart < bodyLength) {
        if (!fill()) {
            reply.status = -1; // an answer cut short
            break;
        }
    }
    reply.body = mPending.mid(bodyStart, bodyLength);
    mPending.remove(0, std::min(mPending.size(), bodyStart + bodyLength));
    return reply;
}

} // namespace vimbrel::testing
