#include "platform/sys_calls.h"

namespace vimbrel::sys {
namespace {

Calls gCalls = ScopedCalls::real();

} // namespace

const Calls& calls()
{
    return gCalls;
}

ScopedCalls::ScopedCalls(const Calls& replacement) : mPrevious(gCalls)
{
    gCalls = replacement;
}

ScopedCalls::~ScopedCalls()
{
    gCalls = mPrevious;
}

} // namespace vimbrel::sys
