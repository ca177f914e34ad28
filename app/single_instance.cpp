#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace vimbrel {
namespace {

// How long a later start tries to reach the first, which may be starting up
// itself (the lock taken, the socket not yet listening).
constexpr int kHandOverMilliseconds = 5000;

// The most a folder path handed over may hold.
constexpr qint64 kMostBytes = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), mFolder(folder)
{
    QDir().mkpath(mFolder);
    mLock = std::make_unique<QLockFile>(lockPath());
    // A lock left by a program that is gone (its process no longer runs) is
    // taken over at once.
    mLock->setStaleLockTime(0);
    mFirst = mLock->tryLock(0);
    if (mFirst) {
        listen();
    }
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::runtimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/vimbrel";
}

void SingleInstance::listen()
{
    const QString name = mFolder + "/vimbrel.socket";
    // A socket file left behind by a program that is gone: ours now.
    QLocalServer::removeServer(name);
    mServer = new QLocalServer(this);
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!mServer->listen(name)) {
        return;
    }
    connect(mServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = mServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
                const QByteArray folder = socket->readAll().left(kMostBytes);
                socket->disconnectFromServer();
                emit activated(folder);
            });
        }
    });
}

bool SingleInstance::handOver(const std::string& folder)
{
    const QDeadlineTimer deadline(kHandOverMilliseconds);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(mFolder + "/vimbrel.socket");
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            socket.write(folder.data(), qint64(folder.size()));
            socket.flush();
            socket.disconnectFromServer();
            return socket.state() == QLocalSocket::UnconnectedState ||
                   socket.waitForDisconnected(2000);
        }
        QThread::msleep(50); // the first is still starting up
    }
    return false;
}

} // namespace vimbrel
