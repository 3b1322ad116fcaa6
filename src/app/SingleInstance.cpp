#include "SingleInstance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>

#include "FileLock.h"

namespace brixel {
namespace {

constexpr int kTimeoutMs = 2000;
// The path travels as UTF-8, ended by a line feed so the receiver knows it has it all.
constexpr char kEnd = '\n';
// No path is longer; a sender that goes on is cut off.
constexpr qsizetype kMaxMessage = 64 * 1024;
// How long a waiting instance that could neither listen nor reach a listener waits to try again,
// and a listener out of descriptors waits to accept again.
constexpr int kRetryMs = 1000;

// A name without a folder lives in the temporary folder, where earlier versions put it too.
std::string SocketPath(const QString& serverName) {
  const QString path = QDir::isAbsolutePath(serverName) ? serverName : QDir::tempPath() + '/' + serverName;
  return QFile::encodeName(path).toStdString();
}

}  // namespace

// The descriptor closes at once when this goes; the notifier, which may be telling of it
// right now, goes later.
class SingleInstance::Watched {
 public:
  // onReadable is called with this; also when the peer has closed, or on an error.
  template <typename Handler>
  Watched(FileDescriptor fd, SingleInstance* owner, Handler onReadable)
      : fd_(std::move(fd)), notifier_(new QSocketNotifier(fd_.Get(), QSocketNotifier::Read, owner)) {
    QObject::connect(notifier_, &QSocketNotifier::activated, owner, [this, onReadable] { onReadable(this); });
  }
  ~Watched() {
    notifier_->setEnabled(false);
    notifier_->deleteLater();
  }
  Watched(const Watched&) = delete;
  Watched& operator=(const Watched&) = delete;

  int Fd() const { return fd_.Get(); }
  void SetWatching(bool on) { notifier_->setEnabled(on); }
  QByteArray received;  // what a sender has sent so far

 private:
  FileDescriptor fd_;
  QSocketNotifier* notifier_;
};

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)), socketPath_(SocketPath(serverName_)) {}

SingleInstance::~SingleInstance() { StopListening(); }

QString SingleInstance::DefaultServerName() {
  return QStringLiteral("brixel-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool SingleInstance::OtherInstanceRunning() const {
  return unix_socket::Connect(socketPath_, kTimeoutMs).fd.IsOpen();
}

bool SingleInstance::HandOver(const QString& path) const {
  const unix_socket::Socket socket = unix_socket::Connect(socketPath_, kTimeoutMs);
  if (!socket.fd.IsOpen()) return false;
  QByteArray message = path.toUtf8();
  message.append(kEnd);
  if (!unix_socket::SendAll(socket.fd.Get(), {message.constData(), size_t(message.size())}, kTimeoutMs)) {
    return false;
  }
  // The receiver closes the connection once it has read the whole path.
  unix_socket::WaitForClose(socket.fd.Get(), kTimeoutMs);
  return true;
}

bool SingleInstance::Listen() {
  if (server_) return true;
  // Instances that try at the same moment (those waiting when the listening one quits, or two
  // first starts) take turns: each asks and listens while holding the lock, so only one of
  // them replaces the socket and the others find it answering.
  FileLock lock;
  if (!lock.Take(socketPath_ + ".lock", std::chrono::milliseconds(kTimeoutMs))) return false;
  return ListenLocked();
}

bool SingleInstance::ListenLocked() {
  const unix_socket::Socket probe = unix_socket::Connect(socketPath_, kTimeoutMs);
  if (probe.fd.IsOpen()) return false;
  // A socket nobody answers on was left behind by an instance that died; a file that is no
  // socket stays, and so does a listener too busy to answer.
  if (probe.error == ECONNREFUSED) {
    if (!unix_socket::RemoveSocketFile(socketPath_)) return false;
  } else if (probe.error != ENOENT) {
    return false;
  }
  unix_socket::Listening listening = unix_socket::Listen(socketPath_);
  if (!listening.socket.fd.IsOpen()) return false;
  serverFile_ = listening.file;
  server_ = std::make_unique<Watched>(std::move(listening.socket.fd), this, [this](Watched*) { Accept(); });
  return true;
}

void SingleInstance::StopListening() {
  if (!server_) return;
  // The file goes first, so that waiting instances find no socket rather than a refusing one.
  unix_socket::RemoveSocketFile(socketPath_, serverFile_);
  server_.reset();
  connections_.clear();
}

void SingleInstance::Serve() {
  if (server_ || followed_) return;
  if (!Listen()) Follow();
}

void SingleInstance::Follow() {
  unix_socket::Socket socket = unix_socket::Connect(socketPath_, kTimeoutMs);
  if (!socket.fd.IsOpen()) {
    // There was none to reach after all: act as when it goes away, and later.
    QTimer::singleShot(0, this, &SingleInstance::FollowedLost);
    return;
  }
  followed_ = std::make_unique<Watched>(std::move(socket.fd), this, [this](Watched*) { FollowedReadable(); });
}

void SingleInstance::FollowedReadable() {
  // The listener never writes on this connection; it ends when the listener goes away.
  char discarded[256];
  const ssize_t n = ::recv(followed_->Fd(), discarded, sizeof discarded, MSG_DONTWAIT);
  if (n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))) return;
  followed_.reset();
  QTimer::singleShot(0, this, &SingleInstance::FollowedLost);
}

void SingleInstance::FollowedLost() {
  if (Listen()) {
    emit TookOver();
    return;
  }
  // Another waiting instance was first: wait for that one in turn.
  if (OtherInstanceRunning()) {
    Follow();
    return;
  }
  QTimer::singleShot(kRetryMs, this, &SingleInstance::Serve);
}

void SingleInstance::Accept() {
  for (;;) {
    unix_socket::Socket socket = unix_socket::Accept(server_->Fd());
    if (socket.error == EMFILE || socket.error == ENFILE || socket.error == ENOBUFS || socket.error == ENOMEM) {
      // The connection stays queued; asking again at once would only spin.
      server_->SetWatching(false);
      QTimer::singleShot(kRetryMs, this, [this] {
        if (server_) server_->SetWatching(true);
      });
      return;
    }
    if (!socket.fd.IsOpen()) return;
    connections_.push_back(
        std::make_unique<Watched>(std::move(socket.fd), this, [this](Watched* connection) { Read(connection); }));
  }
}

void SingleInstance::Read(Watched* connection) {
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::recv(connection->Fd(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    // Ended before its line did (a waiting instance going away, or a probe), or failed.
    if (n <= 0) return Drop(connection);
    const qsizetype before = connection->received.size();
    connection->received.append(chunk, n);
    const qsizetype end = connection->received.indexOf(kEnd, before);
    if (end >= 0) {
      const QString path = QString::fromUtf8(connection->received.left(end));
      // Closed before the path is given on: a handler may run an event loop of its own.
      Drop(connection);
      if (!path.isEmpty()) emit PathReceived(path);
      return;
    }
    if (connection->received.size() > kMaxMessage) return Drop(connection);
  }
}

void SingleInstance::Drop(Watched* connection) {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [connection](const auto& held) { return held.get() == connection; });
  if (found != connections_.end()) connections_.erase(found);
}

}  // namespace brixel
