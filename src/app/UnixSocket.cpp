#include "UnixSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>

namespace brixel::unix_socket {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A listener whose queue is full refuses at once; a connect tries again this often.
constexpr int kRetryConnectMs = 10;
constexpr int kBacklog = 50;

Clock::time_point DeadlineIn(int timeoutMs) { return Clock::now() + milliseconds(std::max(timeoutMs, 0)); }

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

// A socket address for path; false when path does not fit with its terminating zero.
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path) || path.find('\0') != std::string::npos) {
    return false;
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

const sockaddr* AsAddress(const sockaddr_un& address) { return reinterpret_cast<const sockaddr*>(&address); }

// The events that came on fd before deadline; 0 when none came, -1 with errno on failure.
int WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int n = ::poll(&entry, 1, MillisecondsLeft(deadline));
    if (n < 0 && errno == EINTR) continue;
    return n <= 0 ? n : entry.revents;
  }
}

Socket Failed(int error) { return {FileDescriptor(), error}; }

// Moves from to path unless something is there already.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system that cannot rename without replacing: a second link fails on an existing
  // name just the same, and the socket answers under any name of its file.
  return ::link(from.c_str(), to.c_str()) == 0;
}

// The private folder a socket is bound in, and the socket file in it: both go on every path.
class PrivateFolder {
 public:
  explicit PrivateFolder(std::string folder) : folder_(std::move(folder)), socket_(folder_ + "/s") {}
  ~PrivateFolder() {
    if (!made_) return;
    ::unlink(socket_.c_str());
    ::rmdir(folder_.c_str());
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  // Makes the folder (0700) under a fresh name; the template's last six characters are X.
  bool Make() {
    made_ = ::mkdtemp(folder_.data()) != nullptr;
    socket_ = folder_ + "/s";
    return made_;
  }
  const std::string& SocketPath() const { return socket_; }

 private:
  std::string folder_;
  std::string socket_;
  bool made_ = false;
};

}  // namespace

Socket Connect(const std::string& path, int timeoutMs) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return Failed(ENAMETOOLONG);
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.IsOpen()) return Failed(errno);
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  for (;;) {
    if (::connect(fd.Get(), AsAddress(address), sizeof address) == 0) return {std::move(fd), 0};
    const int error = errno;
    if (error == EINPROGRESS || error == EINTR) break;
    if (error != EAGAIN) return Failed(error);
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return Failed(ETIMEDOUT);
    ::poll(nullptr, 0, std::min(left, kRetryConnectMs));
  }
  // Under way: done once the socket can be written to.
  const int events = WaitFor(fd.Get(), POLLOUT, deadline);
  if (events < 0) return Failed(errno);
  if (events == 0) return Failed(ETIMEDOUT);
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return Failed(errno);
  if (error != 0) return Failed(error);
  return {std::move(fd), 0};
}

bool SendAll(int fd, std::string_view bytes, int timeoutMs) {
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Whatever comes (room, or the peer gone), the next send tells.
      const int events = WaitFor(fd, POLLOUT, deadline);
      if (events < 0) return false;
      if (events == 0) return errno = ETIMEDOUT, false;
      continue;
    }
    if (n == 0) errno = EIO;
    return false;
  }
  return true;
}

bool WaitForClose(int fd, int timeoutMs) {
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  char discarded[512];
  for (;;) {
    const ssize_t n = ::recv(fd, discarded, sizeof discarded, MSG_DONTWAIT);
    if (n == 0) return true;
    if (n < 0 && errno == ECONNRESET) return true;  // closed with our bytes unread
    if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    if (n > 0 || errno == EINTR) {
      if (Clock::now() >= deadline) return false;
      continue;
    }
    if (WaitFor(fd, POLLIN, deadline) <= 0) return false;
  }
}

Listening Listen(const std::string& path) {
  Listening result;
  sockaddr_un address;
  if (!MakeAddress(path, address)) {
    result.socket.error = ENAMETOOLONG;
    return result;
  }
  const std::size_t slash = path.rfind('/');
  PrivateFolder folder((slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".XXXXXX");
  // The private name may be the longer one; test it before making anything.
  if (!MakeAddress(folder.SocketPath(), address)) {
    result.socket.error = ENAMETOOLONG;
    return result;
  }
  if (!folder.Make()) {
    result.socket.error = errno;
    return result;
  }
  MakeAddress(folder.SocketPath(), address);

  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  std::optional<FileIdentity> file;
  // Nobody else can reach into the folder, so the mode is set before anybody could connect.
  if (!fd.IsOpen() || ::bind(fd.Get(), AsAddress(address), sizeof address) != 0 ||
      ::chmod(folder.SocketPath().c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd.Get(), kBacklog) != 0 ||
      !(file = IdentityOfName(folder.SocketPath())) || !MoveWithoutReplacing(folder.SocketPath(), path)) {
    result.socket.error = errno;
    return result;
  }
  result.socket.fd = std::move(fd);
  result.file = *file;
  return result;
}

Socket Accept(int listeningFd) {
  for (;;) {
    const int fd = ::accept4(listeningFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) return {FileDescriptor(fd), 0};
    // A connection its sender dropped while queued is no failure of the listener.
    if (errno != EINTR && errno != ECONNABORTED) return Failed(errno);
  }
}

bool RemoveSocketFile(const std::string& path) {
  struct stat file {};
  if (::lstat(path.c_str(), &file) != 0) return errno == ENOENT;
  if (!S_ISSOCK(file.st_mode)) return errno = ENOTSOCK, false;
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

void RemoveSocketFile(const std::string& path, FileIdentity file) {
  if (IdentityOfName(path) == file) ::unlink(path.c_str());
}

}  // namespace brixel::unix_socket
