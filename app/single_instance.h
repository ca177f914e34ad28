#pragma once

#include <memory>
#include <string>

#include <QObject>

class QLocalServer;
class QLockFile;

namespace vimbrel {

// One Vimbrel for each person: the first start takes a lock in the person's
// runtime folder and listens on a local socket beside it; a later start
// hands its folder (or none) to the first through the socket and ends, so
// that two programs never write the same Work folder or settings file, and a
// late clean-up never deletes what a newer run wrote.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `folder`: where the lock and the socket live (the person's runtime
    // folder, private to them); it is made when missing.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this program is the first: it holds the lock and listens.
    bool first() const { return mFirst; }

    // For a later start: hands `folder` ("" for none) to the first, waiting
    // a few seconds for it to listen. True when it took it.
    bool handOver(const std::string& folder);

    // The runtime folder of the person running the program.
    static QString runtimeFolder();

    QString lockPath() const { return mFolder + "/vimbrel.lock"; }

signals:
    // A later start asked to be shown, with its folder ("" for none).
    void activated(const QByteArray& folder);

private:
    void listen();

    QString mFolder;
    std::unique_ptr<QLockFile> mLock;
    QLocalServer* mServer = nullptr;
    bool mFirst = false;
};

} // namespace vimbrel
