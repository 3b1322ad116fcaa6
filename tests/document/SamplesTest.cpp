#include <gtest/gtest.h>

#include "IcoFile.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

// Icons and cursors written by other programs: each opens (unless all its images are
// PNG-compressed), survives a save and a reopen unchanged, and saves identically again.
TEST(Samples, IconsAndCursorsOfOtherProgramsRoundTrip) {
  const fs::path dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no sample folder";
  test::BackEndFixture backEnd;
  test::TempDir out;
  int opened = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string type = DocumentType(entry.path().string());
    if (type != "ICO" && type != "CUR") continue;
    SCOPED_TRACE(entry.path().filename().string());
    backEnd.prompter.shown.clear();
    cIco doc;
    const bool ok = doc.OpenIcon(entry.path().string());
    EXPECT_TRUE(backEnd.reporter.reports.empty()) << backEnd.reporter.reports.front();
    if (!ok) {
      // The only acceptable refusal: nothing but PNG-compressed images.
      ASSERT_FALSE(backEnd.prompter.shown.empty());
      EXPECT_NE(backEnd.prompter.shown[0].text.find("PNG-compressed"), std::string::npos);
      continue;
    }
    ++opened;
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
  EXPECT_GT(opened, 10);
}

}  // namespace
}  // namespace brixel
