#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace brixel {

// The channel between a running instance and a second start of the program: the first
// instance listens on a per-user local socket, a second start sends it the path of its file.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(QString serverName, QObject* parent = nullptr);
  ~SingleInstance() override;

  // The socket name for the current user.
  static QString DefaultServerName();

  // True when another instance answers on the socket.
  bool OtherInstanceRunning() const;

  // Hands path to the running instance; true when it took it.
  bool HandOver(const QString& path) const;

  // Starts listening, replacing a socket left behind by an instance that died. False when
  // another instance is listening already or the socket cannot be made.
  bool Listen();

 signals:
  // A second start handed over a path.
  void PathReceived(const QString& path);

 private:
  void ReadConnection();

  QString serverName_;
  QLocalServer* server_ = nullptr;
};

}  // namespace brixel
