#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "AlphaChannel.h"
#include "Documents.h"
#include "DocumentsFixture.h"
#include "ReadAhead.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

class ReadAheadTest : public test::DocumentsFixture {
 protected:
  void TearDown() override {
    DocumentsFixture::TearDown();
    KeepAlpha(true);
  }
};

TEST_F(ReadAheadTest, OpenTakesTheFileReadAheadOnlyWhenNothingChangedMeanwhile) {
  // Taken: the same path, unchanged.
  const std::string path = WriteIcon("a.ico", 16);
  StartReadAhead(path);
  EXPECT_FALSE(ReadAheadHolds(WriteIcon("other.ico", 16)));
  EXPECT_TRUE(ReadAheadHolds(path));
  EXPECT_TRUE(ReadAheadHolds(path)) << "asking leaves the document for the open";
  std::unique_ptr<cIco> taken = TakeReadAhead(path);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->IconPath(), path);
  EXPECT_EQ(taken->Width(0), 16);
  EXPECT_FALSE(taken->NewIcon());
  EXPECT_FALSE(TakeReadAhead(path)) << "a read ahead is taken once";

  // Opening the file takes what was read ahead.
  StartReadAhead(path);
  EXPECT_TRUE(OpenDocument(path));
  EXPECT_FALSE(TakeReadAhead(path)) << "the open took it";
  IconDocuments.Clear();

  // Another path, a file written again meanwhile, or the alpha option changed: not taken, and
  // OpenDocument reads the file itself, as it now is.
  StartReadAhead(path);
  EXPECT_FALSE(TakeReadAhead(WriteIcon("b.ico", 16)));

  StartReadAhead(path);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  WriteIcon("a.ico", 32);
  EXPECT_FALSE(ReadAheadHolds(path));
  EXPECT_TRUE(OpenDocument(path));
  ASSERT_EQ(IconDocuments.Count(), 1);
  EXPECT_EQ(IconDocuments.Items[0]->Width(0), 32);

  StartReadAhead(path);
  KeepAlpha(false);
  EXPECT_FALSE(TakeReadAhead(path));
}

TEST_F(ReadAheadTest, AFileThatCannotBeReadIsLeftToOpenDocumentWhichReportsIt) {
  const auto bad = dir_ / "bad.ico";
  test::WriteBytes(bad, {0, 0, 1, 0, 3, 0, 1});
  StartReadAhead(bad.string());
  EXPECT_FALSE(ReadAheadHolds(bad.string())) << "its open has something to say";
  EXPECT_TRUE(backEnd_.reporter.reports.empty()) << "the read ahead's reports stay on its thread";
  EXPECT_FALSE(OpenDocument(bad.string()));
  EXPECT_FALSE(backEnd_.reporter.reports.empty()) << "the open itself reports the failure";
  EXPECT_EQ(IconDocuments.Count(), 0);

  // Files that OpenDocument does not open as icon documents are not read ahead at all, though
  // the bytes would read: an icon under another name.
  const std::string icon = WriteIcon("icon.ico", 16);
  const auto text = dir_ / "notes.txt";
  std::filesystem::rename(icon, text);
  StartReadAhead(text.string());
  EXPECT_FALSE(TakeReadAhead(text.string()));
}

}  // namespace
}  // namespace brixel
