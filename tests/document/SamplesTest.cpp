#include <gtest/gtest.h>

#include "AlphaChannel.h"
#include "IcoFile.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// Icons and cursors written by other programs: each opens whole, PNG-compressed entries
// included, survives a save and a reopen unchanged, and saves identically again; with the
// "Keep alpha channel" option on and off.
TEST(Samples, IconsAndCursorsOfOtherProgramsRoundTrip) {
  const fs::path dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no sample folder";
  test::BackEndFixture backEnd;
  test::TempDir out;
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "keeping alpha" : "dropping alpha");
    KeepAlpha(keep);
    int opened = 0;
    int png = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string type = DocumentType(entry.path().string());
      if (type != "ICO" && type != "CUR") continue;
      SCOPED_TRACE(entry.path().filename().string());
      cIco doc;
      ASSERT_TRUE(doc.OpenIcon(entry.path().string()));
      EXPECT_TRUE(backEnd.reporter.reports.empty()) << backEnd.reporter.reports.front();
      EXPECT_TRUE(backEnd.prompter.shown.empty()) << backEnd.prompter.shown.front().text;
      ++opened;
      for (const IconImage& image : doc.Images()) png += image.StoredAsPng ? 1 : 0;
      test::KeepFuzzSeed("ico", entry.path().filename().string(), ReadWholeFile(entry.path().string()));
      const fs::path first = out / ("1-" + entry.path().filename().string());
      ASSERT_TRUE(doc.SaveIcon(first.string()));
      cIco back;
      ASSERT_TRUE(back.OpenIcon(first.string()));
      ASSERT_EQ(back.IconCount(), doc.IconCount());
      for (std::int16_t i = 0; i < doc.IconCount(); ++i) EXPECT_EQ(back.Image(i), doc.Image(i));
      const fs::path second = out / ("2-" + entry.path().filename().string());
      ASSERT_TRUE(back.SaveIcon(second.string()));
      EXPECT_EQ(ReadWholeFile(first.string()), ReadWholeFile(second.string()));
    }
    EXPECT_GT(opened, 30);
    EXPECT_EQ(png > 0, keep);
  }
}

}  // namespace
}  // namespace brixel
