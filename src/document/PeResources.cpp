// The resource directory of a PE32 or PE32+ file: three levels of directories (type, name,
// language) in the resource section, whose leaves give each resource's address and size.

#include <algorithm>
#include <set>
#include <vector>

#include "ResourceTables.h"
#include "Windows1252.h"

namespace brixel::resources {
namespace {

constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;
constexpr std::uint32_t kResourceTableIndex = 2;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;

struct Section {
  std::uint32_t address = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

class PeReader {
 public:
  PeReader(ByteView file, std::size_t headerOffset) : file_(file), budget_(file.size()) {
    const std::size_t coff = headerOffset + 4;
    const std::uint16_t sectionCount = Word(file, coff + 2, "the PE header");
    const std::uint16_t optionalSize = Word(file, coff + 16, "the PE header");
    const std::size_t optional = coff + kCoffHeaderSize;
    const std::uint16_t magic = Word(file, optional, "the PE optional header");
    if (magic != kPe32Magic && magic != kPe32PlusMagic) Refuse("the PE optional header is of no known kind");
    result_.format = magic == kPe32Magic ? "PE32" : "PE32+";
    ReadSections(optional + optionalSize, sectionCount);
    const std::size_t countAt = optional + (magic == kPe32Magic ? 92 : 108);
    const std::size_t tables = countAt + 4;
    const std::uint32_t tableCount = Long(file, countAt, "the PE optional header");
    // The table of the resource directory must be there, inside the optional header.
    const std::size_t resourceTable = tables + kResourceTableIndex * 8;
    if (tableCount <= kResourceTableIndex || resourceTable + 8 > optional + optionalSize) return;
    const std::uint32_t address = Long(file, resourceTable, "the PE optional header");
    const std::uint32_t size = Long(file, resourceTable + 4, "the PE optional header");
    if (address == 0 || size == 0) return;  // a program without resources
    const Section* section = SectionOf(address);
    if (!section) Refuse("the resource directory lies outside the file");
    // Every directory and name lies in the rest of the resource section, which must be in the file.
    const std::size_t start = std::size_t{section->rawOffset} + (address - section->address);
    const std::size_t end = std::min<std::size_t>(std::size_t{section->rawOffset} + section->rawSize, file.size());
    if (start >= end) Refuse("the resource directory lies outside the file");
    section_ = file.subspan(start, end - start);
    Walk(0, 0, {}, {});
  }

  ProgramResources Take() { return std::move(result_); }

 private:
  void ReadSections(std::size_t at, std::uint16_t count) {
    if (!Inside(at, std::size_t{count} * kSectionHeaderSize, file_.size())) Refuse("the section table lies outside the file");
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::size_t header = at + i * kSectionHeaderSize;
      sections_.push_back({Long(file_, header + 12, "the section table"), Long(file_, header + 16, "the section table"),
                           Long(file_, header + 20, "the section table")});
    }
  }

  // The section whose bytes in the file hold the address.
  // Most resources lie in the section of the last one found, which is tried first.
  const Section* SectionOf(std::uint32_t address) const {
    const auto holds = [&](const Section& section) {
      return address >= section.address && address - section.address < section.rawSize;
    };
    if (last_ < sections_.size() && holds(sections_[last_])) return &sections_[last_];
    for (std::size_t i = 0; i < sections_.size(); ++i) {
      if (!holds(sections_[i])) continue;
      last_ = i;
      return &sections_[i];
    }
    return nullptr;
  }

  // The file offset of size bytes at address, when all of them are in one section's bytes in the file.
  bool Locate(std::uint32_t address, std::uint32_t size, std::size_t& offset) const {
    const Section* section = SectionOf(address);
    if (!section) return false;
    const std::uint32_t into = address - section->address;
    if (size > section->rawSize - into) return false;
    offset = std::size_t{section->rawOffset} + into;
    return Inside(offset, size, file_.size());
  }

  ResourceId IdOf(std::uint32_t field) {
    ResourceId id;
    if ((field & kHighBit) == 0) {
      id.number = static_cast<std::uint16_t>(field);
      budget_.Charge(0);
      return id;
    }
    // A name: its length in UTF-16 units, then the units.
    const std::size_t at = field & ~kHighBit;
    const std::uint16_t length = Word(section_, at, "a resource name");
    if (!Inside(at + 2, std::size_t{length} * 2, section_.size())) Refuse("a resource name lies outside the file");
    budget_.Charge(std::size_t{length} * 3);
    id.named = true;
    for (std::size_t i = 0; i < length; ++i) {
      std::uint32_t code = Word(section_, at + 2 + 2 * i, "a resource name");
      if (code >= 0xd800 && code < 0xdc00 && i + 1 < length) {
        const std::uint16_t low = Word(section_, at + 4 + 2 * i, "a resource name");
        if (low >= 0xdc00 && low < 0xe000) {
          code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
          ++i;
        }
      }
      if (code >= 0xd800 && code < 0xe000) code = 0xfffd;  // a lone surrogate
      AppendUtf8(id.name, code);
    }
    return id;
  }

  // Reads the directory at offset (from the start of the resource section) at level 0 (types),
  // 1 (names) or 2 (languages).
  void Walk(std::size_t offset, int level, const ResourceId& type, const ResourceId& name) {
    if (!visited_.insert(offset).second) Refuse("the resource directories form a loop");
    const std::size_t count = std::size_t{Word(section_, offset + 12, "a resource directory")} +
                              Word(section_, offset + 14, "a resource directory");
    const std::size_t entries = offset + kDirectoryHeaderSize;
    if (!Inside(entries, count * kDirectoryEntrySize, section_.size())) {
      Refuse("a resource directory runs past the end of the file");
    }
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t entry = entries + i * kDirectoryEntrySize;
      const std::uint32_t nameField = Long(section_, entry, "a resource directory");
      const std::uint32_t dataField = Long(section_, entry + 4, "a resource directory");
      const bool isDirectory = (dataField & kHighBit) != 0;
      const std::size_t target = dataField & ~kHighBit;
      if (level == 0) {
        // Types are read by number first: a type of no interest costs nothing more.
        if ((nameField & kHighBit) != 0 || !isDirectory) continue;
        const ResourceId id = IdOf(nameField);
        if (!id.named && IsIconResourceType(id.number)) Walk(target, 1, id, {});
      } else if (level == 1) {
        const ResourceId id = IdOf(nameField);
        if (isDirectory) Walk(target, 2, type, id);
      } else if (!isDirectory) {
        AddResource(type, name, IdOf(nameField), target);
      }
    }
  }

  void AddResource(const ResourceId& type, const ResourceId& name, const ResourceId& language, std::size_t entry) {
    const std::uint32_t address = Long(section_, entry, "a resource entry");
    const std::uint32_t size = Long(section_, entry + 4, "a resource entry");
    std::size_t offset = 0;
    // A resource whose bytes are not in the file is left out; a group that needs it says so.
    if (!Locate(address, size, offset)) return;
    result_.resources.push_back({type, name, language.named ? std::uint16_t{0} : language.number, offset, size});
  }

  ByteView file_;
  ByteView section_;
  std::vector<Section> sections_;
  mutable std::size_t last_ = 0;
  ResourceBudget budget_;
  std::set<std::size_t> visited_;
  ProgramResources result_;
};

}  // namespace

ProgramResources ReadPeResources(ByteView file, std::size_t headerOffset) {
  return PeReader(file, headerOffset).Take();
}

}  // namespace brixel::resources
