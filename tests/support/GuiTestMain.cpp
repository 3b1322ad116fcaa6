#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ReportingApplication.h"

// GoogleTest with the editor's application object, on the offscreen platform unless another one is asked for,
// and with a home folder of its own so that nothing Qt or the tests write reaches the real
// one. Listing the tests creates no application, so that it needs neither a display nor a home.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  QTemporaryDir home(QDir::tempPath() + "/brixel-gui-test-XXXXXX");
  if (!home.isValid()) return 2;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toLocal8Bit());
  qputenv("XDG_CACHE_HOME", (home.path() + "/.cache").toLocal8Bit());

  brixel::ReportingApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
