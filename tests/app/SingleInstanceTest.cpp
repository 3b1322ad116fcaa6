#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "FileDescriptor.h"
#include "SingleInstance.h"

namespace brixel {
namespace {

QString UniqueName() {
  return QStringLiteral("brixel-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(std::rand());
}

// Where an instance of any version puts the socket of a name without a folder.
std::string SocketFileOf(const QString& name) { return QFile::encodeName(QDir::tempPath() + '/' + name).toStdString(); }

sockaddr_un AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), std::min(path.size(), sizeof address.sun_path - 1));
  return address;
}

// The other end as earlier versions of the program made it: plain blocking sockets, as
// every Unix-domain stream socket speaks.
FileDescriptor PlainConnect(const std::string& path) {
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_un address = AddressOf(path);
  if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) fd.Close();
  return fd;
}

FileDescriptor PlainListen(const std::string& path) {
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_un address = AddressOf(path);
  if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd.Get(), 5) != 0) {
    fd.Close();
  }
  return fd;
}

// True once the peer has closed: recv tells the end, or a reset when our bytes went unread.
bool ClosedByPeer(int fd) {
  char byte;
  const ssize_t n = ::recv(fd, &byte, 1, MSG_DONTWAIT);
  return n == 0 || (n < 0 && errno == ECONNRESET);
}

// A later start handing its file over from a thread of its own, as from another process, so
// that the receiver in this thread can answer while the sender waits for it.
bool LaterStartHandsOver(const QString& name, const QString& path, SingleInstance& receiver) {
  QSignalSpy received(&receiver, &SingleInstance::PathReceived);
  bool handed = false;
  std::thread start([&] { handed = SingleInstance(name).HandOver(path); });
  const bool arrived = received.wait(5000);
  start.join();
  return handed && arrived && received.at(0).at(0).toString() == path;
}

TEST(SingleInstance, SecondStartHandsItsPathToTheFirst) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  SingleInstance second(name);
  EXPECT_TRUE(second.OtherInstanceRunning());
  EXPECT_FALSE(second.Listen());  // the first one holds the name
  EXPECT_TRUE(LaterStartHandsOver(name, QStringLiteral("/tmp/a b/\u00e9.ico"), first));
}

TEST(SingleInstance, AWaitingInstanceTakesOverWhenTheListeningOneQuits) {
  const QString name = UniqueName();
  auto first = std::make_unique<SingleInstance>(name);
  ASSERT_TRUE(first->Listen());
  auto second = std::make_unique<SingleInstance>(name);
  auto third = std::make_unique<SingleInstance>(name);
  second->Serve();
  third->Serve();
  EXPECT_FALSE(second->IsListening());
  EXPECT_FALSE(third->IsListening());
  EXPECT_TRUE(LaterStartHandsOver(name, "/one.ico", *first));

  // The first quits: one of the waiting two listens, the other waits for that one now.
  first.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return second->IsListening() || third->IsListening(); }, 5000));
  if (third->IsListening()) std::swap(second, third);
  EXPECT_FALSE(third->IsListening());
  EXPECT_TRUE(LaterStartHandsOver(name, "/two.ico", *second));

  // And when that one quits too, the last one takes over.
  QSignalSpy tookOver(third.get(), &SingleInstance::TookOver);
  second.reset();
  ASSERT_TRUE(tookOver.wait(5000));
  EXPECT_TRUE(third->IsListening());
  EXPECT_TRUE(LaterStartHandsOver(name, "/three.ico", *third));
}

TEST(SingleInstance, AStaleSocketIsReplacedAndNothingElse) {
  const QString name = UniqueName();
  SingleInstance alone(name);
  EXPECT_FALSE(alone.OtherInstanceRunning());
  EXPECT_FALSE(alone.HandOver(QStringLiteral("/x.ico")));

  // A socket file left behind by an instance that died.
  ASSERT_TRUE(PlainListen(SocketFileOf(name)).IsOpen());
  SingleInstance next(name);
  EXPECT_TRUE(next.Listen());
  EXPECT_TRUE(LaterStartHandsOver(name, "/after.ico", next));

  // A file of something else where the socket would go stays as it is.
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("not-a-socket"));
  QFile other(path);
  ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("kept") == 4);
  other.close();
  SingleInstance blocked(path);
  EXPECT_FALSE(blocked.Listen());
  EXPECT_FALSE(blocked.HandOver(QStringLiteral("/x.ico")));
  ASSERT_TRUE(other.open(QIODevice::ReadOnly));
  EXPECT_EQ(other.readAll(), "kept");
}

TEST(SingleInstance, OnlyTheUserCanReachTheSocketAndNothingIsLeftBehind) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("channel"));
  {
    SingleInstance first(path);
    ASSERT_TRUE(first.Listen());
    struct stat file {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &file), 0);
    EXPECT_TRUE(S_ISSOCK(file.st_mode));
    EXPECT_EQ(file.st_mode & (S_IRWXG | S_IRWXO), 0u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("channel")});
  }
  // The socket goes with the instance.
  EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(SingleInstance, ANameTooLongForASocketAddressFailsCleanly) {
  QTemporaryDir folder;
  // The longest path a socket address holds, ended by its zero, works; one more byte does not.
  const qsizetype longest = sizeof(sockaddr_un::sun_path) - 1;
  const QString fits = folder.path() + '/' + QString(longest - folder.path().size() - 1, 'n');
  ASSERT_EQ(QFile::encodeName(fits).size(), longest);
  {
    SingleInstance first(fits);
    EXPECT_TRUE(first.Listen());
    EXPECT_TRUE(LaterStartHandsOver(fits, "/fits.ico", first));
  }
  SingleInstance tooLong(fits + 'n');
  EXPECT_FALSE(tooLong.Listen());
  EXPECT_FALSE(tooLong.IsListening());
  EXPECT_FALSE(tooLong.OtherInstanceRunning());
  EXPECT_FALSE(tooLong.HandOver(QStringLiteral("/x.ico")));
}

TEST(SingleInstance, PlainSocketsAsEarlierVersionsUsedThemSpeakTheSameProtocol) {
  const QString name = UniqueName();
  {
    // A sender of an earlier version: the path, a line feed, and the receiver closes.
    SingleInstance receiver(name);
    ASSERT_TRUE(receiver.Listen());
    QSignalSpy received(&receiver, &SingleInstance::PathReceived);
    FileDescriptor sender = PlainConnect(SocketFileOf(name));
    ASSERT_TRUE(sender.IsOpen());
    ASSERT_EQ(::send(sender.Get(), "/old/\xc3\xa9.ico\n", 12, MSG_NOSIGNAL), 12);
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("/old/\u00e9.ico"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ClosedByPeer(sender.Get()); }, 5000));
  }
  // A receiver of an earlier version listening on the socket takes the path.
  FileDescriptor listener = PlainListen(SocketFileOf(name));
  ASSERT_TRUE(listener.IsOpen());
  bool handed = false;
  std::thread start([&] { handed = SingleInstance(name).HandOver(QStringLiteral("/new.ico")); });
  pollfd waiting{listener.Get(), POLLIN, 0};
  std::string line;
  if (::poll(&waiting, 1, 5000) == 1) {
    FileDescriptor connection(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    const timeval limit{5, 0};
    ::setsockopt(connection.Get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    char byte;
    while (line.size() < 100 && ::recv(connection.Get(), &byte, 1, 0) == 1 && byte != '\n') line += byte;
  }
  start.join();
  EXPECT_EQ(line, "/new.ico");
  EXPECT_TRUE(handed);
  // And keeps its socket: it answers, so nobody replaces it.
  SingleInstance later(name);
  EXPECT_FALSE(later.Listen());
  EXPECT_TRUE(later.OtherInstanceRunning());
  ::unlink(SocketFileOf(name).c_str());
}

TEST(SingleInstance, ASenderThatNeverEndsItsLineIsCutOffAndHoldsUpNoOne) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  QSignalSpy received(&first, &SingleInstance::PathReceived);

  // One that starts a line and stays silent does not keep later starts waiting.
  FileDescriptor silent = PlainConnect(SocketFileOf(name));
  ASSERT_TRUE(silent.IsOpen());
  ASSERT_EQ(::send(silent.Get(), "/half", 5, MSG_NOSIGNAL), 5);
  EXPECT_TRUE(LaterStartHandsOver(name, "/whole.ico", first));

  // One that goes on past any path is cut off: its writes fail before a megabyte is out.
  FileDescriptor flood = PlainConnect(SocketFileOf(name));
  ASSERT_TRUE(flood.IsOpen());
  // A small send buffer, so that the megabyte cannot all wait in buffers on any kernel.
  const int sendBuffer = 16 * 1024;
  ::setsockopt(flood.Get(), SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
  std::atomic<bool> done = false;
  bool cutOff = false;
  std::thread sender([&] {
    const std::string block(16 * 1024, 'x');
    for (int i = 0; i < 64 && !cutOff; ++i) {
      cutOff = ::send(flood.Get(), block.data(), block.size(), MSG_NOSIGNAL) < 0;
    }
    done = true;
  });
  const bool finished = QTest::qWaitFor([&] { return done.load(); }, 5000);
  if (!finished) ::shutdown(flood.Get(), SHUT_RDWR);  // lets the sender return
  sender.join();
  EXPECT_TRUE(finished);
  EXPECT_TRUE(cutOff);
  EXPECT_EQ(received.count(), 1);
}

}  // namespace
}  // namespace brixel
