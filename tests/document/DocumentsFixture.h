#pragma once

// The document lists emptied around each test, with icon files of one image written on request.

#include <gtest/gtest.h>

#include <string>

#include "Documents.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel::test {

class DocumentsFixture : public ::testing::Test {
 protected:
  void SetUp() override { IconDocuments.Clear(); }
  void TearDown() override { IconDocuments.Clear(); }

  // An icon of one width x width 4-bit image written as name in the test's folder.
  std::string WriteIcon(const std::string& name, int width) {
    cIco doc;
    doc.AddImage(static_cast<std::int16_t>(width), 8, 4, -1);
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(doc.SaveIcon(path));
    return path;
  }

  BackEndFixture backEnd_;
  TempDir dir_;
};

}  // namespace brixel::test
