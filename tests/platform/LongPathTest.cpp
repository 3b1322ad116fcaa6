#include <gtest/gtest.h>

#include <filesystem>

#include "LongPath.h"
#include "TestSupport.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

TEST(LongPath, ComponentsComeBackAsTheFolderListsThem) {
  test::TempDir dir;
  fs::create_directories(dir / "My Icons" / "Sub");
  test::WriteBytes(dir / "My Icons" / "Sub" / "Arrow.cur", {0});
  const std::string root = dir.Path().string();

  EXPECT_EQ(MakeLongPath(root + "/my icons/SUB/arrow.CUR", "/"), root + "/My Icons/Sub/Arrow.cur");
  EXPECT_EQ(MakeLongPath("My Icons/Sub/Arrow.cur", root), root + "/My Icons/Sub/Arrow.cur");
  EXPECT_EQ(MakeLongPath("./My Icons/../My Icons/Sub/Arrow.cur", root), root + "/My Icons/Sub/Arrow.cur");
  EXPECT_EQ(MakeLongPath("", root), "");
}

TEST(LongPath, MissingComponentsStayAsGiven) {
  test::TempDir dir;
  fs::create_directories(dir / "Icons");
  const std::string root = dir.Path().string();
  EXPECT_EQ(MakeLongPath(root + "/icons/Missing/a.ico", "/"), root + "/Icons/Missing/a.ico");
}

}  // namespace
}  // namespace brixel
