#pragma once

// The system headers of IPv4 socket addresses, for the sources shared by
// both platforms.
#include <winsock2.h>
#include <ws2tcpip.h>
