#include "viewer/server/viewer_server.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QRandomGenerator>
#include <QTcpSocket>

#include <array>

#include "viewer/server/content_type.h"

namespace vimbrel {

using Status = QHttpServerResponder::StatusCode;

// The HTTP side of the viewer server. Every request is checked in the order
// peer, Host header, method, token, path; the first check that fails answers
// at once, so a refused request never opens a file.
class ViewerHttpListener : public QAbstractHttpServer
{
public:
    bool start()
    {
        if (mPort != 0) {
            return true;
        }
        mToken = freshToken();
        mPort = listen(QHostAddress(QHostAddress::LocalHost), 0);
        return mPort != 0;
    }

    quint16 port() const { return mPort; }
    const QByteArray& token() const { return mToken; }
    ServedFolders& folders() { return mFolders; }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        QHttpServerResponder responder = makeResponder(request, socket);
        const bool head = request.method() == QHttpServerRequest::Method::Head;
        if (!request.remoteAddress().isLoopback() || !hostIsOurs(request)) {
            refuse(responder, Status::Forbidden, head);
            return true;
        }
        if (request.method() != QHttpServerRequest::Method::Get && !head) {
            refuse(responder, Status::MethodNotAllowed, head);
            return true;
        }
        const std::optional<std::string> path = requestedPath(request);
        const std::optional<std::string> file = path ? mFolders.resolve(*path) : std::nullopt;
        if (!file) {
            refuse(responder, Status::NotFound, head);
            return true;
        }
        serveFile(responder, *file, head);
        return true;
    }

    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}

private:
    static QByteArray freshToken()
    {
        std::array<quint32, 4> bits{};
        QRandomGenerator::system()->fillRange(bits.data(), bits.size());
        return QByteArray(reinterpret_cast<const char*>(bits.data()), sizeof(bits)).toHex();
    }

    // Exactly one Host header, naming this server as the browser was told it.
    // A page of another site that a name server points at 127.0.0.1 sends
    // its own host name and is refused.
    bool hostIsOurs(const QHttpServerRequest& request) const
    {
        const QByteArray expected = "127.0.0.1:" + QByteArray::number(mPort);
        int hosts = 0;
        bool matches = false;
        for (const auto& [name, value] : request.headers()) {
            if (name.compare("host", Qt::CaseInsensitive) == 0) {
                ++hosts;
                matches = value == expected;
            }
        }
        return hosts == 1 && matches;
    }

    // The absolute file path after the token, percent-decoded to the bytes of
    // the file name; nothing when the token is wrong.
    std::optional<std::string> requestedPath(const QHttpServerRequest& request) const
    {
        const QByteArray encoded = request.url().path(QUrl::FullyEncoded).toLatin1();
        const QByteArray prefix = "/" + mToken + "/";
        if (!encoded.startsWith(prefix)) {
            return std::nullopt;
        }
        const QByteArray decoded = QByteArray::fromPercentEncoding(encoded.mid(prefix.size() - 1));
        return decoded.toStdString();
    }

    static void refuse(QHttpServerResponder& responder, Status status, bool head)
    {
        const QByteArray text = QByteArray::number(static_cast<int>(status)) + "\n";
        responder.writeStatusLine(status);
        responder.writeHeader("Content-Type", "text/plain; charset=US-ASCII");
        responder.writeHeader("Content-Length", QByteArray::number(text.size()));
        responder.writeHeader("Cache-Control", "no-cache");
        if (status == Status::MethodNotAllowed) {
            responder.writeHeader("Allow", "GET, HEAD");
        }
        responder.writeBody(head ? QByteArray() : text);
    }

    static void serveFile(QHttpServerResponder& responder, const std::string& path, bool head)
    {
        // The path is already resolved; O_NOFOLLOW refuses a link put in its
        // place since, and fstat confirms a plain file on the open handle.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        struct stat info
        {
        };
        if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            if (fd >= 0) {
                ::close(fd);
            }
            refuse(responder, Status::NotFound, head);
            return;
        }
        const QByteArray type = QByteArray::fromStdString(contentTypeFor(path));
        if (head) {
            ::close(fd);
            responder.writeStatusLine(Status::Ok);
            responder.writeHeader("Content-Type", type);
            responder.writeHeader("Content-Length", QByteArray::number(qint64(info.st_size)));
            responder.writeHeader("Cache-Control", "no-cache");
            responder.writeHeader("X-Content-Type-Options", "nosniff");
            responder.writeBody(QByteArray());
            return;
        }
        auto* file = new QFile;
        if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            delete file;
            refuse(responder, Status::NotFound, head);
            return;
        }
        // The responder takes the file and sends it in pieces as the socket
        // drains, with a Content-Length taken from its size.
        responder.write(file, {{"Content-Type", type},
                               {"Cache-Control", "no-cache"},
                               {"X-Content-Type-Options", "nosniff"}});
    }

    quint16 mPort = 0;
    QByteArray mToken;
    ServedFolders mFolders;
};

ViewerServer::ViewerServer() : mListener(std::make_unique<ViewerHttpListener>()) {}

ViewerServer::~ViewerServer() = default;

bool ViewerServer::start()
{
    return mListener->start();
}

bool ViewerServer::isListening() const
{
    return mListener->port() != 0;
}

quint16 ViewerServer::port() const
{
    return mListener->port();
}

void ViewerServer::allowFolder(const std::string& folder)
{
    mListener->folders().allow(folder);
}

QUrl ViewerServer::urlFor(const std::string& filePath) const
{
    if (!isListening() || filePath.empty() || filePath.front() != '/') {
        return {};
    }
    const QByteArray path =
        "/" + mListener->token() + QByteArray::fromStdString(filePath).toPercentEncoding("/");
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port()) + QString::fromLatin1(path),
                QUrl::StrictMode);
}

} // namespace vimbrel
