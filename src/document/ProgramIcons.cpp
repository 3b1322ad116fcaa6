#include "ProgramIcons.h"

#include <algorithm>
#include <set>

#include "AniFile.h"
#include "ByteOrder.h"
#include "PngCodec.h"
#include "ResourceTables.h"

namespace brixel {
namespace {

using resources::Inside;
using resources::Long;
using resources::Refuse;
using resources::Word;

constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kHotSpotSize = 4;

std::optional<GroupKind> KindOf(const ResourceId& type) {
  if (type.named) return std::nullopt;
  switch (type.number) {
    case kResourceGroupIcon: return GroupKind::Icon;
    case kResourceGroupCursor: return GroupKind::Cursor;
    case kResourceAnimatedIcon: return GroupKind::AnimatedIcon;
    case kResourceAnimatedCursor: return GroupKind::AnimatedCursor;
    default: return std::nullopt;
  }
}

bool IsAnimated(GroupKind kind) { return kind == GroupKind::AnimatedIcon || kind == GroupKind::AnimatedCursor; }

void Put16(Bytes& bytes, std::size_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// A size as a directory's byte holds it: 256 as 0.
std::uint8_t SizeByte(int size) { return static_cast<std::uint8_t>(size >= 256 ? 0 : std::max(size, 0)); }

// The width and height an image's own header gives (a PNG's IHDR, a bitmap's with its height
// halved for the mask), when it has one.
std::optional<std::pair<int, int>> OwnSize(ByteView image) {
  if (IsPng(image)) {
    const auto size = PngSize(image);
    if (!size) return std::nullopt;
    return std::pair{static_cast<int>(std::min<std::uint32_t>(size->first, 65535)),
                     static_cast<int>(std::min<std::uint32_t>(size->second, 65535))};
  }
  if (image.size() < 12) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Long(image, 4, "an image"));
  const auto height = static_cast<std::int32_t>(Long(image, 8, "an image"));
  if (width < 0 || height < 0) return std::nullopt;
  return std::pair{static_cast<int>(std::min(width, 65535)), static_cast<int>(std::min(height / 2, 65535))};
}

// The bit count an image's own header gives: a bitmap's, or 32 for a PNG; 0 when unknown.
int OwnBitCount(ByteView image) {
  if (IsPng(image)) return 32;
  return image.size() >= 16 ? Word(image, 14, "an image") : 0;
}

// A name as a file name: no folder separators or control characters, not hidden (a leading dot
// goes), and short enough for any file system (cut where a UTF-8 character starts).
std::string SafeFileName(const std::string& name) {
  constexpr std::size_t kLongest = 200;
  std::size_t length = std::min(name.size(), kLongest);
  while (length < name.size() && length > 0 && (static_cast<unsigned char>(name[length]) & 0xc0) == 0x80) --length;
  std::string safe;
  for (const char c : name.substr(0, length)) {
    safe += (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == 0x7f) ? '_' : c;
  }
  if (safe.empty() || safe[0] == '.') safe = "_" + safe;
  return safe;
}

}  // namespace

const char* GroupKindName(GroupKind kind) {
  switch (kind) {
    case GroupKind::Icon: return "icon";
    case GroupKind::Cursor: return "cursor";
    case GroupKind::AnimatedIcon: return "animated icon";
    case GroupKind::AnimatedCursor: return "animated cursor";
  }
  return "icon";
}

const char* GroupExtension(GroupKind kind) {
  switch (kind) {
    case GroupKind::Icon: return "ico";
    case GroupKind::Cursor: return "cur";
    default: return "ani";
  }
}

bool IsIconKind(GroupKind kind) { return kind == GroupKind::Icon || kind == GroupKind::AnimatedIcon; }

ProgramIcons::ProgramIcons(Bytes file) : file_(std::move(file)), resources_(ReadProgramResources(file_)) {
  for (std::size_t i = 0; i < resources_.resources.size(); ++i) {
    const ProgramResource& resource = resources_.resources[i];
    if (const std::optional<GroupKind> kind = KindOf(resource.type)) {
      groups_.push_back({*kind, resource.name, resource.language, i});
    } else if (!resource.type.named && !resource.name.named) {
      // The first of each number, and of each number in each language, as the directory has them.
      images_.try_emplace({resource.type.number, resource.name.number, kAnyLanguage}, i);
      images_.try_emplace({resource.type.number, resource.name.number, resource.language}, i);
    }
  }
}

const ProgramResource* ProgramIcons::ImageOf(const ResourceGroup& group, std::uint16_t id) const {
  const std::uint16_t type = group.kind == GroupKind::Cursor ? kResourceCursor : kResourceIcon;
  // The image of the group's language, else the first there is.
  auto found = images_.find({type, id, group.language});
  if (found == images_.end()) found = images_.find({type, id, kAnyLanguage});
  return found == images_.end() ? nullptr : &resources_.resources[found->second];
}

std::vector<GroupImageSize> ProgramIcons::ImageSizes(std::size_t group) const {
  const ResourceGroup& chosen = groups_.at(group);
  if (IsAnimated(chosen.kind)) return {};
  const ProgramResource& resource = resources_.resources[chosen.resource];
  const ByteView directory = ByteView(file_).subspan(resource.offset, resource.size);
  std::vector<GroupImageSize> sizes;
  if (directory.size() < kGroupHeaderSize) return sizes;
  const std::size_t count = std::min<std::size_t>(Word(directory, 4, "a group"),
                                                  (directory.size() - kGroupHeaderSize) / kGroupEntrySize);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kGroupHeaderSize + i * kGroupEntrySize;
    const ProgramResource* image = ImageOf(chosen, Word(directory, entry + 12, "a group"));
    const std::size_t hotSpot = chosen.kind == GroupKind::Cursor ? kHotSpotSize : 0;
    ByteView bytes;
    if (image && image->size > hotSpot) bytes = ByteView(file_).subspan(image->offset + hotSpot, image->size - hotSpot);
    GroupImageSize size;
    if (chosen.kind == GroupKind::Icon) {
      const auto side = [](std::uint8_t value) { return value == 0 ? 256 : int{value}; };
      size = {side(directory[entry]), side(directory[entry + 1]), Word(directory, entry + 6, "a group")};
    } else if (const auto own = OwnSize(bytes)) {
      // Writers differ on whether a cursor group's height counts the mask; the image knows.
      size = {own->first, own->second, Word(directory, entry + 6, "a group")};
    } else {
      size = {Word(directory, entry, "a group"), Word(directory, entry + 2, "a group") / 2,
              Word(directory, entry + 6, "a group")};
    }
    // Some writers leave the bit count out of the group; the image's own header has it.
    if (size.bitCount == 0) size.bitCount = OwnBitCount(bytes);
    sizes.push_back(size);
  }
  return sizes;
}

RebuiltGroup ProgramIcons::Rebuild(std::size_t group, RebuildBudget* budget) const {
  const ResourceGroup& chosen = groups_.at(group);
  const ProgramResource& resource = resources_.resources[chosen.resource];
  const ByteView directory = ByteView(file_).subspan(resource.offset, resource.size);
  const auto charge = [&](std::size_t bytes) {
    if (!budget) return;
    if (bytes > budget->bytes) Refuse("the groups take more than a file of this size can hold");
    budget->bytes -= bytes;
  };
  RebuiltGroup rebuilt;
  if (IsAnimated(chosen.kind)) {
    if (!IsAnimatedCursorFile(directory)) Refuse("the " + std::string(GroupKindName(chosen.kind)) + " " + chosen.name.Text() + " is no RIFF ACON file");
    charge(directory.size());
    rebuilt.file.assign(directory.begin(), directory.end());
    return rebuilt;
  }
  const bool cursor = chosen.kind == GroupKind::Cursor;
  const std::uint16_t count = Word(directory, 4, "a group directory");
  if (!Inside(kGroupHeaderSize, std::size_t{count} * kGroupEntrySize, directory.size())) {
    Refuse("the group directory of " + chosen.name.Text() + " runs past its resource");
  }
  // The images the group names and the program holds, in the group's order.
  struct Image {
    std::size_t entry;
    ByteView bytes;
  };
  std::vector<Image> found;
  std::size_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kGroupHeaderSize + i * kGroupEntrySize;
    const std::uint16_t id = Word(directory, entry + 12, "a group directory");
    const ProgramResource* image = ImageOf(chosen, id);
    if (!image) {
      rebuilt.leftOut.push_back("image " + std::to_string(i) + " (" + (cursor ? "cursor " : "icon ") + std::to_string(id) +
                                ") is not in the file");
      continue;
    }
    // A 16-bit file rounds its resources up to its alignment; the group gives their true size.
    const std::size_t claimed = Long(directory, entry + 8, "a group directory");
    const std::size_t size = claimed == 0 ? image->size : std::min(claimed, image->size);
    if (cursor && size < kHotSpotSize) {
      rebuilt.leftOut.push_back("image " + std::to_string(i) + " (cursor " + std::to_string(id) + ") is empty");
      continue;
    }
    total += size;
    if (total > file_.size()) Refuse("the group " + chosen.name.Text() + " names more image bytes than the file holds");
    found.push_back({entry, ByteView(file_).subspan(image->offset, size)});
  }
  if (found.empty()) Refuse("the group " + chosen.name.Text() + " names no image that is in the file");
  charge(kGroupHeaderSize + found.size() * kFileEntrySize + total);

  Bytes& out = rebuilt.file;
  out.reserve(kGroupHeaderSize + found.size() * kFileEntrySize + total);
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, found.size());
  std::size_t offset = kGroupHeaderSize + found.size() * kFileEntrySize;
  for (const Image& image : found) {
    const std::size_t entry = image.entry;
    ByteView block = image.bytes;
    if (cursor) {
      const ByteView hotSpot = block.first(kHotSpotSize);
      block = block.subspan(kHotSpotSize);
      // The directory's width and height as the image has them; the group's height counts the mask.
      const auto own = OwnSize(block);
      const int width = own ? own->first : Word(directory, entry, "a group directory");
      const int height = own ? own->second : Word(directory, entry + 2, "a group directory") / 2;
      out.push_back(SizeByte(width));
      out.push_back(SizeByte(height));
      out.push_back(0);
      out.push_back(0);
      out.insert(out.end(), hotSpot.begin(), hotSpot.end());
    } else {
      // Width, height, colours, reserved, planes and bit count, as the group has them.
      out.insert(out.end(), directory.begin() + static_cast<std::ptrdiff_t>(entry),
                 directory.begin() + static_cast<std::ptrdiff_t>(entry + 8));
    }
    AppendLength(out, static_cast<std::uint32_t>(block.size()));
    AppendLength(out, static_cast<std::uint32_t>(offset));
    offset += block.size();
  }
  for (const Image& image : found) {
    const ByteView block = cursor ? image.bytes.subspan(kHotSpotSize) : image.bytes;
    out.insert(out.end(), block.begin(), block.end());
  }
  return rebuilt;
}

std::optional<std::size_t> ProgramIcons::FirstIconGroup() const {
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i].kind == GroupKind::Icon) return i;
  }
  if (groups_.empty()) return std::nullopt;
  return 0;
}

std::vector<std::string> GroupFileNames(const std::vector<ResourceGroup>& groups) {
  // The languages each name comes in, per extension.
  std::map<std::pair<std::string, std::string>, std::set<std::uint16_t>> languages;
  for (const ResourceGroup& group : groups) {
    languages[{GroupExtension(group.kind), SafeFileName(group.name.Text())}].insert(group.language);
  }
  std::vector<std::string> names;
  std::set<std::string> taken;
  std::map<std::string, int> lastNumber;  // the number last tried after a base, so each is tried once
  for (const ResourceGroup& group : groups) {
    const std::string extension = GroupExtension(group.kind);
    std::string base = SafeFileName(group.name.Text());
    if (languages[{extension, base}].size() > 1) base.append("-").append(std::to_string(group.language));
    std::string name = base + "." + extension;
    int& number = lastNumber.try_emplace(base + "." + extension, 1).first->second;
    while (taken.count(name) != 0) name = base + "-" + std::to_string(++number) + "." + extension;
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

}  // namespace brixel
