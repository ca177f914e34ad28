#include "platform/loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/socket.h>

namespace vimbrel::loopback {

void sendAtOnce(long long socket)
{
    const int on = 1;
    ::setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void shutDown(long long socket)
{
    ::shutdown(static_cast<int>(socket), SHUT_RDWR);
}

long openFileLimit()
{
    static const rlim_t limit = [] {
        rlimit files = {};
        if (::getrlimit(RLIMIT_NOFILE, &files) != 0) {
            return rlim_t(1024);
        }
        if (files.rlim_cur < files.rlim_max) {
            rlimit raised = files;
            raised.rlim_cur = files.rlim_max;
            if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
                return raised.rlim_cur;
            }
        }
        return files.rlim_cur;
    }();
    return limit > rlim_t(0x7fffffff) ? 0x7fffffff : long(limit);
}

void secureRandom(unsigned char* bytes, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::getrandom(bytes + done, size - done, 0);
        if (got > 0) {
            done += size_t(got);
        }
    }
}

} // namespace vimbrel::loopback
