// socket_headers.h is the one of this platform's folder (see CMakeLists.txt).
#include "socket_headers.h"

#include "platform/loopback.h"

namespace vimbrel::loopback {

const sockaddr* anyPort()
{
    static const sockaddr_in address = [] {
        sockaddr_in loopback = {};
        loopback.sin_family = AF_INET;
        loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        loopback.sin_port = 0;
        return loopback;
    }();
    return reinterpret_cast<const sockaddr*>(&address);
}

bool isLoopback(const sockaddr* address)
{
    if (address == nullptr || address->sa_family != AF_INET) {
        return false;
    }
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
    return (ntohl(ipv4->sin_addr.s_addr) >> 24) == 127;
}

} // namespace vimbrel::loopback
