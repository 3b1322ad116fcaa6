// brixel-cli on files with entries that cannot be shown: info lists them with the reason,
// convert keeps them and says so, dump and thumbnail pass over them.

#include <gtest/gtest.h>

#include <filesystem>

#include "ByteOrder.h"
#include "FileIO.h"
#include "KeptEntryFiles.h"
#include "PngCodec.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

class KeptCliTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteBytes(icon_, test::IconWithDamagedPng()); }
  test::ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path());
  }
  // The block of entry index of an icon file.
  static Bytes Block(const Bytes& file, std::size_t index) {
    const std::size_t at = 6 + 16 * index;
    const std::uint32_t size = GetLength(file, at + 8), offset = GetLength(file, at + 12);
    return Bytes(file.begin() + offset, file.begin() + offset + size);
  }

  test::TempDir dir_;
  const fs::path icon_ = dir_ / "eighteen.ico";
  const std::string damagedNote = ": image 12 (256x256) cannot be shown (damaged PNG): ";
};

TEST_F(KeptCliTest, InfoListsTheKeptEntryWithItsReason) {
  const test::ProcessResult text = Run({"info", icon_.string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find(": icon, 18 images\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\n  256x256, kept as it is: damaged PNG, planes 1, bit count 32\n"), std::string::npos)
      << text.out;
  const test::ProcessResult json = Run({"info", icon_.string(), "--json"});
  EXPECT_NE(json.out.find("{\"width\": 256, \"height\": 256, \"kept\": \"damaged PNG\", \"planes\": 1, \"bitCount\": 32}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("{\"width\": 16, \"height\": 16, \"bitDepth\": 4, \"planes\": 1, \"bitCount\": 4, "
                          "\"paletteSize\": 16, "),
            std::string::npos)
      << json.out;
}

TEST_F(KeptCliTest, ConvertKeepsTheEntryAndSaysSo) {
  const Bytes damaged = test::DamagedPng();
  const fs::path cursor = dir_ / "eighteen.cur";
  const test::ProcessResult one = Run({"convert", icon_.string(), cursor.string()});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.err.find(icon_.string() + damagedNote + "written back unchanged"), std::string::npos) << one.err;
  const Bytes written = ReadWholeFile(cursor.string());
  EXPECT_EQ(written[4], 18);
  EXPECT_EQ(Block(written, test::kDamagedEntry), damaged);

  const fs::path folder = dir_ / "out";
  fs::create_directory(folder);
  const test::ProcessResult batch = Run({"convert", "--to", folder.string(), icon_.string()});
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_NE(batch.err.find(damagedNote + "written back unchanged"), std::string::npos) << batch.err;
  EXPECT_EQ(Block(ReadWholeFile((folder / "eighteen.ico").string()), test::kDamagedEntry), damaged);

  // An animated cursor of the icon's images keeps the entry as a frame of its own.
  const fs::path ani = dir_ / "eighteen.ani";
  ASSERT_EQ(Run({"convert", icon_.string(), ani.string()}).status, 0);
  const test::ProcessResult back = Run({"info", ani.string()});
  EXPECT_NE(back.out.find("18 images in 18 frames"), std::string::npos) << back.out;
  EXPECT_NE(back.out.find("kept as it is: damaged PNG"), std::string::npos) << back.out;

  // A macOS icon has no place for it: the save says so, and nothing says it was kept.
  const test::ProcessResult mac = Run({"convert", icon_.string(), (dir_ / "eighteen.icns").string()});
  ASSERT_EQ(mac.status, 0) << mac.err;
  EXPECT_EQ(mac.err.find("written back unchanged"), std::string::npos) << mac.err;
  EXPECT_NE(mac.err.find("256x256 (an icon file's entry kept as it is)"), std::string::npos) << mac.err;
}

TEST_F(KeptCliTest, DumpAndThumbnailPassOverTheKeptEntry) {
  const fs::path dump = dir_ / "dump";
  const test::ProcessResult dumped = Run({"dump", icon_.string(), dump.string()});
  ASSERT_EQ(dumped.status, 0) << dumped.err;
  EXPECT_NE(dumped.err.find(damagedNote + "not dumped"), std::string::npos) << dumped.err;
  EXPECT_TRUE(fs::exists(dump / "11.pam"));
  EXPECT_FALSE(fs::exists(dump / "12.pam"));
  EXPECT_TRUE(fs::exists(dump / "17.pam"));

  // The thumbnail is drawn from the largest image that can be shown, 96 pixels, doubled.
  const fs::path png = dir_ / "thumbnail.png";
  const test::ProcessResult thumbnail = Run({"thumbnail", icon_.string(), png.string(), "256"});
  ASSERT_EQ(thumbnail.status, 0) << thumbnail.err;
  const PngPicture picture = DecodePng(ReadWholeFile(png.string()), [](const PngHeader&) {});
  EXPECT_EQ(picture.width, 192);
  EXPECT_EQ(picture.height, 192);
}

}  // namespace
}  // namespace brixel
