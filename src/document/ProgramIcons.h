#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "FileIO.h"
#include "ProgramResources.h"

namespace brixel {

// What a group of a program file is rebuilt as: an icon or cursor file (a group directory and
// the images it names), or the animated icon or cursor the resource holds whole.
enum class GroupKind { Icon, Cursor, AnimatedIcon, AnimatedCursor };

// "icon", "cursor", "animated icon", "animated cursor".
const char* GroupKindName(GroupKind kind);
// The extension of the file a group becomes: "ico", "cur" or "ani".
const char* GroupExtension(GroupKind kind);
bool IsIconKind(GroupKind kind);

struct ResourceGroup {
  GroupKind kind = GroupKind::Icon;
  ResourceId name;
  std::uint16_t language = 0;
  std::size_t resource = 0;  // its index in ProgramResources::resources
};

// One image as its group's directory describes it (no image is decoded for this).
struct GroupImageSize {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  friend bool operator==(const GroupImageSize&, const GroupImageSize&) = default;
};

// What rebuilding may still write for one program file: a few times its size, so that groups
// that name the same large image again and again cannot make much more than the file holds.
struct RebuildBudget {
  explicit RebuildBudget(std::size_t fileSize) : bytes(fileSize * 4 + 65536) {}
  std::size_t bytes;
};

// A group rebuilt as a file, and a line for each image it names that the program does not hold
// (left out of the file).
struct RebuiltGroup {
  Bytes file;
  std::vector<std::string> leftOut;
};

// The icons and cursors of a Windows program or library (PE32, PE32+ or NE), read once.
class ProgramIcons {
 public:
  // Reads the resource directory (ReadProgramResources) and finds the groups of types 14, 12,
  // 22 and 21 in it, in directory order. Raises as ReadProgramResources does.
  explicit ProgramIcons(Bytes file);

  const std::string& Format() const { return resources_.format; }
  std::size_t FileSize() const { return file_.size(); }
  const std::vector<ResourceGroup>& Groups() const { return groups_; }

  // The sizes the group's directory gives its images; none for an animated group or a
  // directory that cannot be read.
  std::vector<GroupImageSize> ImageSizes(std::size_t group) const;

  // The group as the file it came from. An icon or cursor group becomes its directory as a file
  // header and entries (a cursor's hot spot taken from the first four bytes of its image) and
  // its images' bytes; an animated one its resource's bytes, when they are a RIFF "ACON" file
  // (so the result is never a program again). Raises "Invalid picture" for a
  // group directory that cannot be read, a group none of whose images is in the file, a group
  // whose images take more than the file's size, or (with a budget) once the budget is spent.
  RebuiltGroup Rebuild(std::size_t group, RebuildBudget* budget = nullptr) const;

  // The group the program shows as its own icon: the first icon group, else the first group.
  std::optional<std::size_t> FirstIconGroup() const;

 private:
  // The image a group's entry names by its number: of the group's language, else the first.
  const ProgramResource* ImageOf(const ResourceGroup& group, std::uint16_t id) const;

  Bytes file_;
  ProgramResources resources_;
  std::vector<ResourceGroup> groups_;
  // The images by type, number and language (kAnyLanguage: the first of any language).
  static constexpr std::uint32_t kAnyLanguage = 0x10000;
  std::map<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>, std::size_t> images_;
};

// A file name for each group, in order: the group's name or number with its extension (NAME.ico,
// 32512.cur, ...), with "-LANGUAGE" added when the name comes in several languages and a number
// after that when names still meet. Characters that cannot be in a file name become "_".
std::vector<std::string> GroupFileNames(const std::vector<ResourceGroup>& groups);

}  // namespace brixel
