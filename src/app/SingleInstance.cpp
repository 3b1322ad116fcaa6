#include "SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

namespace brixel {
namespace {

constexpr int kTimeoutMs = 2000;
// The path travels as UTF-8, ended by a line feed so the receiver knows it has it all.
constexpr char kEnd = '\n';
// No path is longer; a sender that goes on is cut off.
constexpr qsizetype kMaxMessage = 64 * 1024;
// How long a waiting instance that could neither listen nor reach a listener waits to try again.
constexpr int kRetryMs = 1000;

// Beside the socket file, which a name without a folder gets in the temporary folder.
QString LockPath(const QString& serverName) {
  const QString socketPath =
      QDir::isAbsolutePath(serverName) ? serverName : QDir::tempPath() + '/' + serverName;
  return socketPath + QStringLiteral(".lock");
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultServerName() {
  return QStringLiteral("brixel-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool SingleInstance::OtherInstanceRunning() const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  const bool connected = socket.waitForConnected(kTimeoutMs);
  socket.abort();
  return connected;
}

bool SingleInstance::HandOver(const QString& path) const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  QByteArray message = path.toUtf8();
  message.append(kEnd);
  socket.write(message);
  if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
  // The receiver closes the connection once it has read the whole path.
  if (socket.state() == QLocalSocket::ConnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}

bool SingleInstance::Listen() {
  if (server_) return true;
  // Instances that try at the same moment (those waiting when the listening one quits, or two
  // first starts) take turns: each asks and listens while holding the lock, so only one of
  // them replaces the socket and the others find it answering.
  QLockFile lock(LockPath(serverName_));
  if (!lock.tryLock(kTimeoutMs)) return false;
  return ListenLocked();
}

bool SingleInstance::ListenLocked() {
  // Listening with access options replaces an existing socket file, so ask first whether
  // someone answers on it; one that nobody answers was left behind by an instance that died.
  if (OtherInstanceRunning()) return false;
  QLocalServer::removeServer(serverName_);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(serverName_)) {
    delete server;
    return false;
  }
  server_ = server;
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::ReadConnection);
  return true;
}

void SingleInstance::Serve() {
  if (server_ || followed_) return;
  if (!Listen()) Follow();
}

void SingleInstance::Follow() {
  auto* socket = new QLocalSocket(this);
  followed_ = socket;
  // The listener never writes on this connection; it ends when the listener goes away, or at
  // once when there was none to reach. A drop can be told twice (error and disconnection),
  // and a refusal from inside connectToServer: act once, and later.
  const auto lost = [this, socket] {
    if (socket != followed_) return;
    followed_ = nullptr;
    socket->deleteLater();
    QTimer::singleShot(0, this, &SingleInstance::FollowedLost);
  };
  connect(socket, &QLocalSocket::disconnected, this, lost);
  connect(socket, &QLocalSocket::errorOccurred, this, lost);
  socket->connectToServer(serverName_);
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

void SingleInstance::ReadConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    auto read = [this, socket, received] {
      received->append(socket->readAll());
      const qsizetype end = received->indexOf(kEnd);
      if (end < 0) {
        if (received->size() > kMaxMessage) socket->abort();
        return;
      }
      const QString path = QString::fromUtf8(received->left(end));
      socket->disconnectFromServer();
      if (!path.isEmpty()) emit PathReceived(path);
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();
  }
}

}  // namespace brixel
