#include <gtest/gtest.h>

#include "Documents.h"
#include "DocumentsFixture.h"
#include "IcoFile.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

using DocumentsTest = test::DocumentsFixture;

TEST_F(DocumentsTest, TypeIsTheUpperCasedLastThreeLetters) {
  EXPECT_EQ(DocumentType("/a/b.Ico"), "ICO");
  EXPECT_EQ(DocumentType("x.cur"), "CUR");
  EXPECT_EQ(DocumentType("ab"), "AB");
  EXPECT_EQ(FileTypeForPath("/a/b.iCO"), 1);
  EXPECT_EQ(FileTypeForPath("/a/b.ani"), 2);
}

TEST_F(DocumentsTest, NewAndOpenAppendOnlyWhatSucceeds) {
  NewDocument();
  NewDocument();
  ASSERT_EQ(IconDocuments.Count(), 2);
  EXPECT_TRUE(IconDocuments.Items[1]->NewIcon());
  EXPECT_EQ(IconDocuments.Items[1]->IconPath(), "");

  const std::string good = WriteIcon("good.cur", 5);
  EXPECT_TRUE(OpenDocument(good));
  ASSERT_EQ(IconDocuments.Count(), 3);
  EXPECT_EQ(IconDocuments.Items[2]->IconPath(), good);
  EXPECT_FALSE(IconDocuments.Items[2]->NewIcon());

  test::WriteBytes(dir_ / "bad.ico", {0, 0, 1, 0, 3, 0, 1});
  EXPECT_FALSE(OpenDocument((dir_ / "bad.ico").string()));
  EXPECT_FALSE(OpenDocument(good + ".png"));
  EXPECT_EQ(IconDocuments.Count(), 3);
}

TEST_F(DocumentsTest, SaveWritesTheCurrentDocument) {
  EXPECT_FALSE(SaveDocument((dir_ / "none.ico").string()));  // no document at all
  OpenDocument(WriteIcon("a.ico", 3));
  OpenDocument(WriteIcon("b.ico", 7));
  IconDocuments.Current = 0;
  const std::string target = (dir_ / "out.ico").string();
  ASSERT_TRUE(SaveDocument(target));
  cIco back;
  ASSERT_TRUE(back.OpenIcon(target));
  EXPECT_EQ(back.Width(0), 3);
}

TEST_F(DocumentsTest, CloseRemovesTheCurrentAndKeepsTheIndexInRange) {
  for (int i = 1; i <= 3; ++i) OpenDocument(WriteIcon("d" + std::to_string(i) + ".ico", i));
  IconDocuments.Current = 2;
  CloseDocument("", "x.ico");
  ASSERT_EQ(IconDocuments.Count(), 2);
  EXPECT_EQ(IconDocuments.Current, 1);
  IconDocuments.Current = 0;
  CloseDocument("whatever.cur", "");
  ASSERT_EQ(IconDocuments.Count(), 1);
  EXPECT_EQ(IconDocuments.CurrentDocument().Width(0), 2);
  CloseDocument("picture.png", "");  // another type does nothing
  EXPECT_EQ(IconDocuments.Count(), 1);
  CloseDocument("", "x.ico");
  EXPECT_EQ(IconDocuments.Count(), 0);
  EXPECT_EQ(IconDocuments.Current, -1);
  CloseDocument("", "x.ico");  // nothing left to close
  EXPECT_EQ(IconDocuments.Count(), 0);
}

}  // namespace
}  // namespace brixel
