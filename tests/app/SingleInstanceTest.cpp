#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <thread>

#include "SingleInstance.h"

namespace brixel {
namespace {

QString UniqueName() {
  return QStringLiteral("brixel-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(std::rand());
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

TEST(SingleInstance, NothingIsRunningAndAStaleSocketIsReplaced) {
  const QString name = UniqueName();
  SingleInstance alone(name);
  EXPECT_FALSE(alone.OtherInstanceRunning());
  EXPECT_FALSE(alone.HandOver(QStringLiteral("/x.ico")));

  // A socket file left behind by an instance that died.
  {
    QLocalServer dead;
    ASSERT_TRUE(dead.listen(name));
  }
  SingleInstance next(name);
  EXPECT_TRUE(next.Listen());
}

TEST(SingleInstance, AnOverlongMessageIsCutOff) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  QSignalSpy received(&first, &SingleInstance::PathReceived);
  QLocalSocket flood;
  flood.connectToServer(name);
  ASSERT_TRUE(flood.waitForConnected(2000));
  flood.write(QByteArray(200 * 1024, 'x'));
  flood.flush();
  QTRY_COMPARE_WITH_TIMEOUT(flood.state(), QLocalSocket::UnconnectedState, 5000);
  EXPECT_EQ(received.count(), 0);
}

}  // namespace
}  // namespace brixel
