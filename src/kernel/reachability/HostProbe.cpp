#include "kernel/reachability/HostProbe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// Non-blocking connect so that a silent host costs the time-out, not the
// kernel's minutes-long SYN retries.
bool connectsWithin(const addrinfo& address, double timeoutSeconds)
{
    int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) return false;
    bool connected = false;
    if (connect(fd, address.ai_addr, address.ai_addrlen) == 0) {
        connected = true;
    } else if (errno == EINPROGRESS) {
        // Wall time: this bounds real network I/O, which no clock of ours drives.
        using Wall = std::chrono::steady_clock;
        auto deadline = Wall::now() + std::chrono::duration_cast<Wall::duration>(std::chrono::duration<double>(timeoutSeconds));
        for (;;) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Wall::now()).count();
            if (left <= 0) break;
            pollfd pfd{fd, POLLOUT, 0};
            int ready = poll(&pfd, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR) continue;
            if (ready == 1) {
                int error = 0;
                socklen_t length = sizeof error;
                connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
            }
            break;
        }
    }
    close(fd);
    return connected;
}

}  // namespace

bool probeHost(const std::string& host, uint16_t port, double timeoutSeconds)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) return false;
    bool reachable = false;
    for (addrinfo* a = addresses; a && !reachable; a = a->ai_next) reachable = connectsWithin(*a, timeoutSeconds);
    freeaddrinfo(addresses);
    return reachable;
}
