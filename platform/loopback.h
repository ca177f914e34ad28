#pragma once

#include <cstddef>

struct sockaddr;

// What the viewer server needs of the system's sockets and randomness.
namespace vimbrel::loopback {

// 127.0.0.1 with port 0, so that the system picks a free port: the address
// the HTTP engine listens on.
const sockaddr* anyPort();

// True for a peer address in 127.0.0.0/8.
bool isLoopback(const sockaddr* address);

// Small answers go out at once rather than waiting for more to fill a
// packet (TCP_NODELAY) on the connected socket `socket`.
void sendAtOnce(long long socket);

// Ends both directions of the connected socket `socket` without closing it:
// the thread that serves it sees the end at once and lets it go. Safe from
// any thread while the socket is open.
void shutDown(long long socket);

// How many files and sockets the process may hold open, raised once to the
// most the system grants.
long openFileLimit();

// `size` bytes of the system's cryptographic randomness.
void secureRandom(unsigned char* bytes, size_t size);

} // namespace vimbrel::loopback
