// Exceptions that leave a command run from an event: reported, and the window and its
// documents go on.
#include <QAction>
#include <QCoreApplication>
#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "ImportDialogs.h"
#include "MainWindowFixture.h"

namespace {

// Allocations through operator new of at least this many bytes fail while it is not 0: the
// program's own large buffers (Qt allocates its pictures with malloc, not through here).
std::atomic<std::size_t> g_failFrom{0};

}  // namespace

void* operator new(std::size_t size) {
  const std::size_t limit = g_failFrom.load(std::memory_order_relaxed);
  if (limit != 0 && size >= limit) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);

class ExceptionEdgeTest : public test::MainWindowTest {
 protected:
  ~ExceptionEdgeTest() override { g_failFrom = 0; }
  void Open(const std::vector<IconImage>& images, const char* name = "open.ico") {
    HandOverFile(WriteIcon(dir_ / name, images));
  }
  cIco& Document() { return IconDocuments.CurrentDocument(); }
  // Triggers the action as a click does, from the event loop, and lets it run.
  void TriggerFromEvent(const QString& action) {
    QMetaObject::invokeMethod(Find<QAction>(action), &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::processEvents();
  }
};

TEST_F(ExceptionEdgeTest, AFailedAllocationInTheCopyDialogIsReportedAndTheDocumentsLiveOn) {
  Open({test::SolidImage(16, 16, 8, kRed)}, "first.ico");
  Open({test::SolidImage(256, 256, 24, kRed)}, "large.ico");
  Document().Image(0).Pixels.At(3, 3) = kBlack;
  Document().Changed(true);
  const std::vector<IconImage> before = Document().Images();

  // The preview reads the 256 x 256 image's pixels into a buffer of 256 kB.
  g_failFrom = 64 * 1024;
  TriggerFromEvent("MnuIconCopy");
  g_failFrom = 0;
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  const std::string& report = backEnd_.reporter.reports[0];
  EXPECT_NE(report.find("Error Number: 7\r\nOut of memory"), std::string::npos) << report;
  EXPECT_NE(report.find("PrjBrixel.FrmMain.MnuIconCopy"), std::string::npos) << report;
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(IconDocuments.Count(), 2);
  EXPECT_EQ(Document().Images(), before);
  EXPECT_TRUE(Document().Changed());

  // With memory to spare the same command works.
  test::OnNextDialog([](QDialog& dialog) { dialog.findChild<QPushButton*>("CmdOK")->click(); });
  TriggerFromEvent("MnuIconCopy");
  EXPECT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
}

TEST_F(ExceptionEdgeTest, AnyStandardExceptionOfAHandlerIsReportedAsAnInternalError) {
  Open({test::SolidImage(16, 16, 8, kRed)});
  QAction probe(window_.get());
  probe.setObjectName("Probe");
  QObject::connect(&probe, &QAction::triggered, [] { throw std::runtime_error("no such state"); });
  window_->addAction(&probe);
  TriggerFromEvent("Probe");
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("Error Number: 51\r\nInternal error: no such state\r\n\r\n"
                                               "Debug Information:\r\nPrjBrixel.FrmMain.Probe"),
            std::string::npos)
      << backEnd_.reporter.reports[0];
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Document().IconCount(), 1);
}

}  // namespace
}  // namespace brixel
