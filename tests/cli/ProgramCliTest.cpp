// brixel-cli info, extract and thumbnail on Windows programs and libraries: programs written byte
// by byte, and the real ones of Debian's packages (fetched by scripts/setup) against wrestool.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "IcoFile.h"
#include "PatternIcons.h"
#include "PngCodec.h"
#include "ProgramFileBuilder.h"
#include "ProgramIcons.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using test::BuiltId;
using test::BuiltResource;

Bytes PatternFile(const std::vector<bench::ImageSpec>& specs, int fileType) {
  cIco icon;
  bench::AddPatternImages(icon, specs);
  if (fileType == 2) icon.xHotSpot(0, 7);
  return BuildIconFile(icon.Images(), fileType);
}

class ProgramCliTest : public ::testing::Test {
 protected:
  ProgramCliTest() {
    std::vector<BuiltResource> resources = test::ResourcesOfIconFile(icon_, BuiltId(u"MainIcon"), 1, 1033);
    const std::vector<BuiltResource> second = test::ResourcesOfIconFile(icon_, BuiltId(5), 10, 1033);
    const std::vector<BuiltResource> cursor = test::ResourcesOfIconFile(cursor_, BuiltId(32512), 1);
    resources.insert(resources.end(), second.begin(), second.end());
    resources.insert(resources.end(), cursor.begin(), cursor.end());
    program_ = dir_ / "shell.dll";
    test::WriteBytes(program_, test::BuildPeFile(resources, true));
  }
  test::ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProgram(BRIXEL_CLI_PATH, args, dir_.Path());
  }
  std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir_;
  const Bytes icon_ = PatternFile({{16, 4}, {32, 32}}, 1);
  const Bytes cursor_ = PatternFile({{32, 1}}, 2);
  fs::path program_;
};

TEST_F(ProgramCliTest, InfoListsTheGroupsWithTheirNamesLanguagesFilesAndSizes) {
  const test::ProcessResult text = Run({"info", program_.string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out, program_.string() +
                          ": PE32+ program, 3 groups\n"
                          "  cursor 32512, language 0, 32512.cur: 32x32 1 bit\n"
                          "  icon MainIcon, language 1033, MainIcon.ico: 16x16 4 bit, 32x32 32 bit\n"
                          "  icon 5, language 1033, 5.ico: 16x16 4 bit, 32x32 32 bit\n");
  const test::ProcessResult json = Run({"info", program_.string(), "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"type\": \"program\", \"format\": \"PE32+\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("{\"kind\": \"icon\", \"name\": \"MainIcon\", \"named\": true, \"language\": 1033, "
                          "\"file\": \"MainIcon.ico\", \"images\": [{\"width\": 16, \"height\": 16, \"bitCount\": 4}, "
                          "{\"width\": 32, \"height\": 32, \"bitCount\": 32}]}"),
            std::string::npos)
      << json.out;
}

TEST_F(ProgramCliTest, ExtractWritesEachGroupOfTheKindAndNameAsked) {
  const fs::path all = dir_ / "all";
  const test::ProcessResult run = Run({"extract", program_.string(), all.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FilesIn(all), (std::vector<std::string>{"32512.cur", "5.ico", "MainIcon.ico"}));
  EXPECT_EQ(ReadWholeFile((all / "MainIcon.ico").string()), icon_);
  cIco cursor;
  ASSERT_TRUE(cursor.ReadIconData(ReadWholeFile((all / "32512.cur").string())));
  EXPECT_EQ(cursor.xHotSpot(0), 7);

  const fs::path cursors = dir_ / "cursors";
  EXPECT_EQ(Run({"extract", program_.string(), cursors.string(), "--type", "cursor"}).status, 0);
  EXPECT_EQ(FilesIn(cursors), (std::vector<std::string>{"32512.cur"}));
  const fs::path named = dir_ / "named";
  EXPECT_EQ(Run({"extract", "--name", "MAINICON", program_.string(), named.string()}).status, 0);
  EXPECT_EQ(FilesIn(named), (std::vector<std::string>{"MainIcon.ico"}));

  const test::ProcessResult none = Run({"extract", program_.string(), named.string(), "--type", "cursor", "--name", "5"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "brixel-cli: " + program_.string() + ": holds no cursor group named 5\n");
  EXPECT_EQ(Run({"extract", program_.string()}).status, 2);
  // The commands that open one document point to extract.
  const test::ProcessResult convert = Run({"convert", program_.string(), (dir_ / "x.ico").string()});
  EXPECT_EQ(convert.status, 1);
  EXPECT_EQ(convert.err,
            "brixel-cli: " + program_.string() + ": a Windows program or library: extract writes its icons and cursors\n");
  EXPECT_EQ(Run({"extract", program_.string(), named.string(), "--type", "bitmap"}).status, 2);
}

TEST_F(ProgramCliTest, AFileThatLiesIsRefusedWithItsReasonAndNothingIsWritten) {
  Bytes file = ReadWholeFile(program_.string());
  test::builder::SetWord(file, test::kBuiltSectionOffset + 14, 0xfff0);  // the root's entry count
  test::WriteBytes(program_, file);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"info", program_.string()}, {"extract", program_.string(), (dir_ / "out").string()}}) {
    const test::ProcessResult run = Run(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "brixel-cli: " + program_.string() + ": a resource directory runs past the end of the file\n");
  }
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(ProgramCliTest, ThumbnailShowsTheFirstIconGroup) {
  const fs::path png = dir_ / "thumb.png";
  const test::ProcessResult run = Run({"thumbnail", program_.string(), png.string(), "32"});
  ASSERT_EQ(run.status, 0) << run.err;
  const PngPicture picture = DecodePng(ReadWholeFile(png.string()), [](const PngHeader&) {});
  EXPECT_EQ(picture.width, 32);
  EXPECT_EQ(picture.height, 32);
}

// Folders of real Windows programs: what scripts/setup unpacked from Debian's packages, and
// those of Wine and NSIS when they are installed.
std::vector<std::string> RealProgramFolders() {
  std::vector<std::string> folders;
  for (const char* folder : {BRIXEL_WINDOWS_PROGRAMS_DIR, "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
                             "/usr/share/nsis/Stubs"}) {
    std::error_code error;
    if (fs::is_directory(folder, error)) folders.emplace_back(folder);
  }
  return folders;
}

TEST(RealProgramTest, EveryGroupWrestoolExtractsComesOutWithTheSameImages) {
  const std::vector<std::string> folders = RealProgramFolders();
  if (folders.empty()) GTEST_SKIP() << "no Windows programs here (scripts/setup fetches them)";
  if (test::RunCommand("command -v wrestool >/dev/null && /usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) {
    GTEST_SKIP() << "wrestool (icoutils) or Pillow (python3-pil) is missing";
  }
  test::TempDir scratch;
  std::string command = "/usr/bin/python3 " + test::ShellQuote(BRIXEL_WRESTOOL_ORACLE) + " " +
                        test::ShellQuote(BRIXEL_CLI_PATH) + " " + test::ShellQuote(scratch.Path().string());
  for (const std::string& folder : folders) command += " " + test::ShellQuote(folder);
  command += " >" + test::ShellQuote((scratch / "report.txt").string());
  const int status = test::RunCommand(command);
  const Bytes report = ReadWholeFile((scratch / "report.txt").string());
  const std::string text(report.begin(), report.end());
  std::cout << text;
  EXPECT_EQ(status, 0) << text;
  EXPECT_NE(text.find(", differences 0"), std::string::npos) << text;

  // The small programs among them seed the fuzz target.
  for (const std::string& folder : folders) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      std::error_code error;
      if (!entry.is_regular_file(error) || entry.file_size(error) > 256 * 1024) continue;
      const Bytes file = ReadWholeFile(entry.path().string());
      try {
        if (!ProgramIcons(file).Groups().empty()) test::KeepFuzzSeed("pe", entry.path().filename().string(), file);
      } catch (const BackEndError&) {
      }
    }
  }
}

}  // namespace
}  // namespace brixel
