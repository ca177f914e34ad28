#pragma once

#include <memory>
#include <string>

#include <QByteArray>
#include <QUrl>
#include <gtest/gtest.h>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"
#include "viewer/server/viewer_server.h"

namespace vimbrel::testing {

// A viewer server over a folder of two small pictures, a.jpg ("0123456789")
// and b.jpg ("bbb"), and the raw requests the tests send it.
class ServedPicturesTest : public ::testing::Test
{
protected:
    void startWith(const ViewerServer::Limits& limits)
    {
        mServer = std::make_unique<ViewerServer>(limits);
        mPictures = mRoot.makeFolder("pictures");
        mRoot.write("pictures/a.jpg", "0123456789");
        mRoot.write("pictures/b.jpg", "bbb");
        ASSERT_TRUE(mServer->start());
        mServer->allowFolder(mPictures);
    }

    // The URL path of the picture `name`, as a browser sends it.
    QByteArray target(const std::string& name) const
    {
        return QUrl(QString::fromStdString(mServer->urlFor(mPictures + name)))
            .path(QUrl::FullyEncoded)
            .toLatin1();
    }

    QByteArray host() const { return "Host: 127.0.0.1:" + QByteArray::number(mServer->port()); }

    QByteArray get(const std::string& name, const QByteArray& extra = {}) const
    {
        return "GET " + target(name) + " HTTP/1.1\r\n" + host() + "\r\n" + extra + "\r\n";
    }

    // `request` on a connection of its own, and its answer.
    HttpReply ask(const QByteArray& request) const
    {
        RawConnection connection(mServer->port());
        connection.send(request);
        return connection.readReply();
    }

    TempFolder mRoot;
    std::string mPictures;
    std::unique_ptr<ViewerServer> mServer;
};

} // namespace vimbrel::testing
