// The resources of Windows programs (PE32, PE32+, NE) written byte by byte: their icon and cursor
// groups rebuilt as the files they came from, and hostile files refused with a clear message.

#include <gtest/gtest.h>

#include "AniFile.h"
#include "AniTestFiles.h"
#include "IcoFile.h"
#include "PatternIcons.h"
#include "ProgramFileBuilder.h"
#include "ProgramIcons.h"
#include "TestSupport.h"
#include "Thumbnail.h"
#include "cIco.h"

namespace brixel {
namespace {

using test::BuiltId;
using test::BuiltResource;
using test::builder::GetLong;
using test::builder::SetWord;
using test::builder::SetLong;

Bytes PatternFile(const std::vector<bench::ImageSpec>& specs, int fileType) {
  cIco icon;
  bench::AddPatternImages(icon, specs);
  if (fileType == 2) {
    for (std::int16_t i = 0; i < icon.IconCount(); ++i) {
      icon.xHotSpot(i, static_cast<std::int16_t>(3 + i));
      icon.yHotSpot(i, static_cast<std::int16_t>(5 + 2 * i));
    }
  }
  return BuildIconFile(icon.Images(), fileType);
}

std::vector<IconImage> ImagesOf(const Bytes& file) {
  cIco icon;
  EXPECT_TRUE(icon.ReadIconData(file));
  return icon.Images();
}

void Append(std::vector<BuiltResource>& to, const std::vector<BuiltResource>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// The description a refused file gives.
std::string Refusal(const Bytes& file) {
  try {
    ProgramIcons program(file);
    for (std::size_t i = 0; i < program.Groups().size(); ++i) program.Rebuild(i);
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Number(), static_cast<int>(ErrorCode::InvalidPicture));
    return e.Description();
  }
  return "read";
}

enum class Format { Pe32, Pe32Plus, Ne };

Bytes BuildProgram(Format format, const std::vector<BuiltResource>& resources) {
  return format == Format::Ne ? test::BuildNeFile(resources) : test::BuildPeFile(resources, format == Format::Pe32Plus);
}

class EveryFormatTest : public ::testing::TestWithParam<Format> {};

TEST_P(EveryFormatTest, IconAndCursorGroupsComeBackAsTheFilesTheyWereMadeFrom) {
  const test::BackEndFixture fixture;
  const Bytes icon = PatternFile({{16, 4}, {32, 8}, {48, 32}, {24, 1}}, 1);
  const Bytes cursor = PatternFile({{32, 1}, {32, 32}}, 2);
  std::vector<BuiltResource> resources = test::ResourcesOfIconFile(icon, BuiltId(u"MAINICON"), 1);
  Append(resources, test::ResourcesOfIconFile(cursor, BuiltId(7), 20));
  const Bytes file = BuildProgram(GetParam(), resources);
  ASSERT_TRUE(IsProgramFile(file));

  const ProgramIcons program(file);
  EXPECT_EQ(program.Format(), GetParam() == Format::Ne ? "NE" : GetParam() == Format::Pe32 ? "PE32" : "PE32+");
  ASSERT_EQ(program.Groups().size(), 2u);
  // Types in order of their numbers: the cursor group (12) before the icon group (14).
  const ResourceGroup& cursorGroup = program.Groups()[0];
  const ResourceGroup& iconGroup = program.Groups()[1];
  EXPECT_EQ(cursorGroup.kind, GroupKind::Cursor);
  EXPECT_EQ(cursorGroup.name.Text(), "7");
  EXPECT_FALSE(cursorGroup.name.named);
  EXPECT_EQ(iconGroup.kind, GroupKind::Icon);
  EXPECT_EQ(iconGroup.name.Text(), "MAINICON");
  EXPECT_TRUE(iconGroup.name.named);

  // The icon group is the icon file again, byte for byte.
  const RebuiltGroup rebuiltIcon = program.Rebuild(1);
  EXPECT_EQ(rebuiltIcon.file, icon);
  EXPECT_TRUE(rebuiltIcon.leftOut.empty());
  EXPECT_EQ(program.ImageSizes(1), (std::vector<GroupImageSize>{{16, 16, 4}, {32, 32, 8}, {48, 48, 32}, {24, 24, 1}}));
  // The cursor group is a cursor file with the same images and hot spots.
  const Bytes rebuiltCursor = program.Rebuild(0).file;
  EXPECT_EQ(rebuiltCursor[2], 2);
  EXPECT_EQ(ImagesOf(rebuiltCursor), ImagesOf(cursor));
  EXPECT_EQ(program.ImageSizes(0), (std::vector<GroupImageSize>{{32, 32, 1}, {32, 32, 32}}));
  EXPECT_EQ(program.FirstIconGroup(), 1u);
  EXPECT_TRUE(fixture.reporter.reports.empty());
}

TEST_P(EveryFormatTest, ACutFileIsRefusedOrGivesOnlyGroupsWhoseBytesAreAllThere) {
  const Bytes icon = PatternFile({{16, 4}}, 1);
  const Bytes file = BuildProgram(GetParam(), test::ResourcesOfIconFile(icon, BuiltId(u"A"), 1));
  test::KeepFuzzSeed("pe", "built-" + std::to_string(static_cast<int>(GetParam())) + ".dll", file);
  std::size_t refused = 0;
  std::size_t rebuilt = 0;
  for (std::size_t length = 0; length < file.size(); ++length) {
    try {
      const ProgramIcons program(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
      for (std::size_t i = 0; i < program.Groups().size(); ++i) {
        EXPECT_EQ(program.Rebuild(i).file, icon) << length;
        ++rebuilt;
      }
    } catch (const BackEndError& e) {
      EXPECT_FALSE(e.Description().empty());
      ++refused;
    }
  }
  // Cuts in the headers and directories are refused; cuts only in the padding after the last
  // resource still give the whole group.
  EXPECT_GT(refused, 100u);
  EXPECT_GT(rebuilt, 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormatTest, ::testing::Values(Format::Pe32, Format::Pe32Plus, Format::Ne));

TEST(ProgramIconsTest, TakesTheImagesOfTheGroupsLanguageAndNamesTheFilesByLanguageWhenANameRepeats) {
  const Bytes english = PatternFile({{16, 8}}, 1);
  const Bytes german = PatternFile({{16, 4}}, 1);
  std::vector<BuiltResource> resources = test::ResourcesOfIconFile(english, BuiltId(u"APP"), 1, 1033);
  Append(resources, test::ResourcesOfIconFile(german, BuiltId(u"APP"), 1, 1031));
  Append(resources, test::ResourcesOfIconFile(english, BuiltId(2), 5, 1033));
  const ProgramIcons program(test::BuildPeFile(resources, true));
  ASSERT_EQ(program.Groups().size(), 3u);
  EXPECT_EQ(program.Groups()[0].language, 1031);
  EXPECT_EQ(program.Rebuild(0).file, german);
  EXPECT_EQ(program.Rebuild(1).file, english);
  EXPECT_EQ(GroupFileNames(program.Groups()), (std::vector<std::string>{"APP-1031.ico", "APP-1033.ico", "2.ico"}));
}

TEST(ProgramIconsTest, FileNamesAreSafeAndNeverMeet) {
  const auto group = [](GroupKind kind, std::string name, std::uint16_t language) {
    ResourceGroup made;
    made.kind = kind;
    made.name.named = true;
    made.name.name = std::move(name);
    made.language = language;
    return made;
  };
  EXPECT_EQ(GroupFileNames({group(GroupKind::Icon, "../up/x", 0), group(GroupKind::Icon, "..", 0),
                            group(GroupKind::Icon, "a\tb", 0), group(GroupKind::AnimatedIcon, "A", 0),
                            group(GroupKind::AnimatedCursor, "A", 0), group(GroupKind::Cursor, "A", 0),
                            group(GroupKind::Icon, "a_b", 0)}),
            (std::vector<std::string>{"_.._up_x.ico", "_...ico", "a_b.ico", "A.ani", "A-2.ani", "A.cur", "a_b-2.ico"}));
  // A long name is cut between characters, never inside one.
  std::string accents = "x";
  for (int i = 0; i < 150; ++i) accents += "\xc3\xa9";
  const std::string cut = GroupFileNames({group(GroupKind::Icon, accents, 0)})[0];
  EXPECT_EQ(cut, accents.substr(0, 199) + ".ico");
}

TEST(ProgramIconsTest, AnimatedGroupsAreTheirResourcesBytesAndMustBeAnimatedCursors) {
  AniInfo info;
  info.Header.DisplayRate = kDefaultAniRate;
  const Bytes ani = BuildAniFile({test::SolidImage(32, 32, 8, kBlack), test::SolidImage(32, 32, 8, kWhite)}, info);
  std::vector<BuiltResource> resources = {{BuiltId(21), BuiltId(u"BUSY"), 0, ani},
                                          {BuiltId(22), BuiltId(3), 0, Bytes{'M', 'Z', 0, 0, 0, 0}}};
  const ProgramIcons program(test::BuildNeFile(resources));
  ASSERT_EQ(program.Groups().size(), 2u);
  EXPECT_EQ(program.Groups()[0].kind, GroupKind::AnimatedCursor);
  EXPECT_EQ(program.Rebuild(0).file, ani);
  EXPECT_TRUE(program.ImageSizes(0).empty());
  EXPECT_EQ(program.Groups()[1].kind, GroupKind::AnimatedIcon);
  try {
    program.Rebuild(1);
    ADD_FAILURE() << "a program inside an animated icon resource was taken";
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Description(), "the animated icon 3 is no RIFF ACON file");
  }
}

TEST(ProgramIconsTest, ImagesMissingFromTheFileAreLeftOutAndAGroupWithNoneIsRefused) {
  const Bytes icon = PatternFile({{16, 4}, {32, 4}}, 1);
  std::vector<BuiltResource> resources = test::ResourcesOfIconFile(icon, BuiltId(1), 1);
  resources.erase(resources.begin() + 1);  // icon 2 goes
  ProgramIcons program(test::BuildPeFile(resources, false));
  const RebuiltGroup rebuilt = program.Rebuild(0);
  EXPECT_EQ(rebuilt.leftOut, (std::vector<std::string>{"image 1 (icon 2) is not in the file"}));
  const std::vector<IconImage> images = ImagesOf(rebuilt.file);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0], ImagesOf(icon)[0]);

  resources.erase(resources.begin());
  EXPECT_EQ(Refusal(test::BuildPeFile(resources, false)), "the group 1 names no image that is in the file");
}

TEST(ProgramIconsTest, ThumbnailsShowTheFirstIconGroup) {
  const Bytes cursor = PatternFile({{32, 1}}, 2);
  const Bytes icon = PatternFile({{16, 4}, {32, 32}}, 1);
  std::vector<BuiltResource> resources = test::ResourcesOfIconFile(cursor, BuiltId(1), 1);
  Append(resources, test::ResourcesOfIconFile(icon, BuiltId(9), 1));
  const std::vector<IconImage> shown = ShownImages(test::BuildPeFile(resources, true));
  EXPECT_EQ(shown, ImagesOf(icon));
  // A program of cursors alone shows its first cursor.
  EXPECT_EQ(ShownImages(test::BuildNeFile(test::ResourcesOfIconFile(cursor, BuiltId(1), 1))), ImagesOf(cursor));
}

// --- Hostile files ---

// Where the first directory of a built PE file's resource section starts.
constexpr std::size_t kRoot = test::kBuiltSectionOffset;

Bytes SmallPe() {
  return test::BuildPeFile(test::ResourcesOfIconFile(PatternFile({{16, 4}}, 1), BuiltId(u"X"), 1), false);
}

TEST(HostileProgramTest, DirectoriesThatLoopAreRefused) {
  Bytes file = SmallPe();
  // The first type's directory entry leads back to the root.
  SetLong(file, kRoot + 16 + 4, 0x80000000u);
  SetLong(file, kRoot + 16, 3);  // and its type is one that is read
  EXPECT_EQ(Refusal(file), "the resource directories form a loop");
}

TEST(HostileProgramTest, CountsSizesAndOffsetsThatLieAreRefused) {
  Bytes entries = SmallPe();
  SetWord(entries, kRoot + 14, 0xffff);
  EXPECT_EQ(Refusal(entries), "a resource directory runs past the end of the file");

  Bytes section = SmallPe();
  const std::size_t sectionHeader = 0x40 + 24 + 96 + 16 * 8;
  SetLong(section, sectionHeader + 20, 0x7ffffff0);  // its bytes far past the end
  EXPECT_EQ(Refusal(section), "the resource directory lies outside the file");

  Bytes sections = SmallPe();
  SetWord(sections, 0x40 + 6, 0xffff);
  EXPECT_EQ(Refusal(sections), "the section table lies outside the file");

  // The named group's name says it is longer than the section.
  Bytes name = SmallPe();
  const std::size_t groupType = kRoot + 16 + 8;  // second type: 14
  const std::size_t nameDirectory = kRoot + (GetLong(name, groupType + 4) & 0x7fffffff);
  const std::size_t nameAt = kRoot + (GetLong(name, nameDirectory + 16) & 0x7fffffff);
  SetWord(name, nameAt, 0xfff0);
  EXPECT_EQ(Refusal(name), "a resource name lies outside the file");

  // A group that says it has more entries than its resource holds.
  Bytes group = test::BuildPeFile(test::ResourcesOfIconFile(PatternFile({{16, 4}}, 1), BuiltId(4), 1), false);
  const std::size_t groupAt = ReadProgramResources(group).resources.back().offset;
  SetWord(group, groupAt + 4, 500);
  EXPECT_EQ(Refusal(group), "the group directory of 4 runs past its resource");

  EXPECT_EQ(Refusal(Bytes{'M', 'Z', 0, 0}), "an MS-DOS program, with no Windows resources");
  EXPECT_EQ(Refusal(Bytes{0, 0, 1, 0}), "not a Windows program or library");
}

TEST(HostileProgramTest, AGroupNamingOneImageOverAndOverIsRefused) {
  // One 32 x 32 image, named by a group of 4000 entries: far more than the file holds.
  Bytes icon = PatternFile({{32, 32}}, 1);
  std::vector<BuiltResource> resources = test::ResourcesOfIconFile(icon, BuiltId(1), 1);
  Bytes& directory = resources.back().data;
  const Bytes entry(directory.begin() + 6, directory.end());
  for (int i = 1; i < 4000; ++i) directory.insert(directory.end(), entry.begin(), entry.end());
  SetWord(directory, 4, 4000);
  EXPECT_EQ(Refusal(test::BuildPeFile(resources, true)), "the group 1 names more image bytes than the file holds");

  // Groups that each fit, sharing their images, are bounded together by a budget.
  std::vector<BuiltResource> many = test::ResourcesOfIconFile(icon, BuiltId(1), 1);
  for (std::uint16_t g = 2; g < 40; ++g) many.push_back({BuiltId(14), BuiltId(g), 0, many[1].data});
  const ProgramIcons program(test::BuildPeFile(many, true));
  RebuildBudget budget(program.FileSize());
  std::size_t rebuilt = 0;
  try {
    for (std::size_t i = 0; i < program.Groups().size(); ++i, ++rebuilt) program.Rebuild(i, &budget);
  } catch (const BackEndError& e) {
    EXPECT_EQ(e.Description(), "the groups take more than a file of this size can hold");
  }
  EXPECT_GT(rebuilt, 3u);
  EXPECT_LT(rebuilt, program.Groups().size());
}

TEST(HostileProgramTest, EntriesSharingOneLongNameAreBoundedByTheFilesSize) {
  // Every name entry of the group type points at one name of 30000 characters.
  std::vector<BuiltResource> resources;
  for (std::uint16_t i = 0; i < 300; ++i) resources.push_back({BuiltId(14), BuiltId(i), 0, Bytes(6, 0)});
  resources.push_back({BuiltId(14), BuiltId(std::u16string(30000, u'N')), 0, Bytes(6, 0)});
  Bytes file = test::BuildPeFile(resources, false);
  const std::size_t nameDirectory = kRoot + (GetLong(file, kRoot + 16 + 4) & 0x7fffffff);
  const std::uint32_t longName = GetLong(file, nameDirectory + 16);
  for (std::size_t i = 1; i <= 300; ++i) SetLong(file, nameDirectory + 16 + 8 * i, longName);
  EXPECT_EQ(Refusal(file), "the resource directory lists more than a file of this size can hold");
}

TEST(HostileProgramTest, AnNeAlignmentPastAnyFileIsRefused) {
  Bytes file = test::BuildNeFile(test::ResourcesOfIconFile(PatternFile({{16, 4}}, 1), BuiltId(1), 1));
  SetWord(file, 0x80, 25);  // the resource table follows the 64-byte NE header
  EXPECT_EQ(Refusal(file), "the resource table's alignment is out of range");
  SetWord(file, 0x80, 4);
  SetWord(file, 0x80 + 4, 0xffff);  // the first type's count
  EXPECT_EQ(Refusal(file), "the resource table runs past the end of the file");
}

}  // namespace
}  // namespace brixel
