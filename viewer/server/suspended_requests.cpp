#include "viewer/server/suspended_requests.h"

#include <microhttpd.h>

namespace vimbrel {

std::shared_ptr<SuspendedRequests::Request> SuspendedRequests::add(MHD_Connection* connection)
{
    auto request = std::make_shared<Request>(connection);
    const std::lock_guard lock(mMutex);
    std::erase_if(mWaiting, [](const std::weak_ptr<Request>& waiting) {
        const auto held = waiting.lock();
        return held == nullptr || held->mResult.has_value();
    });
    mWaiting.push_back(request);
    return request;
}

void SuspendedRequests::finish(Request& request, const RenditionResult& result)
{
    const std::lock_guard lock(mMutex);
    if (!mClosed) {
        finishLocked(request, result);
    }
}

void SuspendedRequests::finishLocked(Request& request, const RenditionResult& result)
{
    if (!request.mResult) {
        request.mResult = result;
        MHD_resume_connection(request.mConnection);
    }
}

std::optional<RenditionResult> SuspendedRequests::resultOf(const Request& request) const
{
    const std::lock_guard lock(mMutex);
    return request.mResult;
}

void SuspendedRequests::close()
{
    const std::lock_guard lock(mMutex);
    for (const std::weak_ptr<Request>& waiting : mWaiting) {
        if (const auto request = waiting.lock()) {
            finishLocked(*request, {RenditionResult::Kind::Stopped, nullptr});
        }
    }
    mWaiting.clear();
    mClosed = true;
}

} // namespace vimbrel
