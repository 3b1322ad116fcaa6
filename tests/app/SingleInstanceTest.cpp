#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "SingleInstance.h"

namespace brixel {
namespace {

QString UniqueName() {
  return QStringLiteral("brixel-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(std::rand());
}

TEST(SingleInstance, SecondStartHandsItsPathToTheFirst) {
  const QString name = UniqueName();
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  QSignalSpy received(&first, &SingleInstance::PathReceived);

  SingleInstance second(name);
  EXPECT_TRUE(second.OtherInstanceRunning());
  EXPECT_FALSE(second.Listen());  // the first one holds the name
  // The sender waits for the receiver, which answers from the event loop: send from a
  // second thread's point of view by letting the loop run while the hand-over waits.
  bool handed = false;
  QTimer::singleShot(0, [&] { handed = second.HandOver(QStringLiteral("/tmp/a b/\u00e9.ico")); });
  ASSERT_TRUE(received.wait(5000));
  EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("/tmp/a b/\u00e9.ico"));
  QTRY_VERIFY(handed);
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
