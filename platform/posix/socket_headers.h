#pragma once

// The system headers of IPv4 socket addresses, for the sources shared by
// both platforms.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
