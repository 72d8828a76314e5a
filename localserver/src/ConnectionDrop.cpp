#include "ConnectionDrop.h"

#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace localserver {

namespace {

int portOf(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    }
    return -1;
}

bool isConnection(int fd, int localPort, int remotePort)
{
    sockaddr_storage local{};
    sockaddr_storage peer{};
    socklen_t localLength = sizeof local;
    socklen_t peerLength = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0 ||
        getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) {
        return false;
    }
    return portOf(local) == localPort && portOf(peer) == remotePort;
}

}  // namespace

bool dropConnection(int localPort, int remotePort)
{
    // Opened with open() and handed to fdopendir(): the descriptor's number
    // may be one the HTTP library just closed, and a race detector that
    // cannot see inside that library tells the two apart only this way.
    const int listing = open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return false;
    }
    DIR* dir = fdopendir(listing);
    if (dir == nullptr) {
        close(listing);
        return false;
    }
    int found = -1;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') {
            continue;
        }
        const int fd = std::atoi(entry->d_name);
        if (fd != dirfd(dir) && isConnection(fd, localPort, remotePort)) {
            found = fd;
            break;
        }
    }
    closedir(dir);
    if (found < 0) {
        return false;
    }
    const int standIn = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (standIn < 0) {
        return false;
    }
    const bool replaced = dup2(standIn, found) == found;
    close(standIn);
    return replaced;
}

}  // namespace localserver
