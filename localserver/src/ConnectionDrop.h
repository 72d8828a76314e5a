#pragma once
// Closes one accepted connection without a reply. The HTTP library does not
// hand its sockets to handlers, so the connection is found by its ports and
// its descriptor is replaced by /dev/null: the peer sees the connection
// close, and the library's own later writes and close land harmlessly on
// the stand-in. Runs on the connection thread that serves the request.

namespace localserver {

// False when no connected socket with these ports exists in the process.
bool dropConnection(int localPort, int remotePort);

}  // namespace localserver
