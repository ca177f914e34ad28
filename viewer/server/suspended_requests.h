#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "viewer/server/rendition.h"

struct MHD_Connection;

namespace vimbrel {

// The requests whose connections the HTTP engine holds still while their
// pictures are drawn elsewhere. Each is resumed once, when its result is
// in; close() resumes those still waiting with Stopped and makes every later
// result go nowhere, so that the engine can stop (it refuses to stop while a
// connection is held) and a drawing that ends afterwards never touches a
// connection that is gone.
class SuspendedRequests
{
public:
    class Request
    {
    public:
        explicit Request(MHD_Connection* connection) : mConnection(connection) {}

    private:
        friend class SuspendedRequests;
        MHD_Connection* mConnection;
        std::optional<RenditionResult> mResult;
    };

    // Registers the request of `connection`, which the caller has just
    // suspended.
    std::shared_ptr<Request> add(MHD_Connection* connection);

    // Hands `result` to `request` and resumes its connection, the first time
    // only and not after close().
    void finish(Request& request, const RenditionResult& result);

    // The result of a resumed request.
    std::optional<RenditionResult> resultOf(const Request& request) const;

    void close();

private:
    void finishLocked(Request& request, const RenditionResult& result);

    mutable std::mutex mMutex;
    std::vector<std::weak_ptr<Request>> mWaiting;
    bool mClosed = false;
};

} // namespace vimbrel
