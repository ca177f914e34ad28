#include "platform/loopback.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <bcrypt.h>

namespace vimbrel::loopback {

void sendAtOnce(long long socket)
{
    const BOOL on = TRUE;
    ::setsockopt(static_cast<SOCKET>(socket), IPPROTO_TCP, TCP_NODELAY,
                 reinterpret_cast<const char*>(&on), sizeof on);
}

void shutDown(long long socket)
{
    ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
}

long openFileLimit()
{
    // Sockets are no descriptors on Windows; the C library's descriptors,
    // which the served files use, stop at 2048.
    return 2048;
}

void secureRandom(unsigned char* bytes, size_t size)
{
    while (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(size),
                                             BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    }
}

} // namespace vimbrel::loopback
