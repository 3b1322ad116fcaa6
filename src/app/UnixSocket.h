#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "FileDescriptor.h"
#include "FileIdentity.h"

// Unix-domain stream sockets named by a path, for the channel between instances. Every
// descriptor is non-blocking and closed on exec; waits are bounded and survive signals.
// Failures come back as an errno value.
namespace brixel::unix_socket {

// A connected or listening socket, or the errno of what failed.
struct Socket {
  FileDescriptor fd;
  int error = 0;
};

// Connects to the socket at path, waiting at most timeoutMs. ECONNREFUSED when a file is
// there that nobody listens on (a socket left behind, or no socket at all), ENOENT when none is
// there, ENAMETOOLONG when the path does not fit a socket address.
Socket Connect(const std::string& path, int timeoutMs);

// Sends all of bytes, waiting at most timeoutMs in all for room; never raises SIGPIPE.
// False with errno set.
bool SendAll(int fd, std::string_view bytes, int timeoutMs);

// Waits at most timeoutMs for the peer to close the connection, discarding what it sends.
bool WaitForClose(int fd, int timeoutMs);

struct Listening {
  Socket socket;
  FileIdentity file;  // the file it was bound to, so that only that one is removed later
};

// Listens on a new socket at path that only this user can reach, from the moment the path
// exists: it is bound inside a private folder made beside path, made 0600, and moved to path.
// Never replaces anything at path (EEXIST). ENAMETOOLONG when path or the private name beside
// it does not fit a socket address.
Listening Listen(const std::string& path);

// Takes the next pending connection, or fails with EAGAIN when there is none.
Socket Accept(int listeningFd);

// Removes the socket file at path; anything that is not a socket stays (false, ENOTSOCK).
bool RemoveSocketFile(const std::string& path);

// Removes path only while it is still the socket file given.
void RemoveSocketFile(const std::string& path, FileIdentity file);

}  // namespace brixel::unix_socket
