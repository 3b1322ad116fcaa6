#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "UnixSocket.h"

namespace brixel {

// The channel between a running instance and a later start of the program: one instance
// listens on a per-user local socket, a later start sends it the path of its file. Every other
// running instance keeps a connection to the listening one and listens itself once that one
// goes away, so that hand-overs keep working for as long as any instance runs.
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

  // Listens now or, while another instance listens, as soon as that one goes away.
  void Serve();

  bool IsListening() const { return server_ != nullptr; }

 signals:
  // A later start handed over a path.
  void PathReceived(const QString& path);
  // This instance took over the socket from one that went away.
  void TookOver();

 private:
  // A socket the event loop watches for reading.
  class Watched;

  void Accept();
  void Read(Watched* connection);
  void Drop(Watched* connection);
  void Follow();
  void FollowedReadable();
  void FollowedLost();
  bool ListenLocked();
  void StopListening();

  QString serverName_;
  std::string socketPath_;
  std::unique_ptr<Watched> server_;
  FileIdentity serverFile_;
  std::vector<std::unique_ptr<Watched>> connections_;  // hand-overs being read, waiting instances
  std::unique_ptr<Watched> followed_;  // the connection to the listening instance
};

}  // namespace brixel
