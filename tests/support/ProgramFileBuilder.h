#pragma once

// Writes small Windows programs byte by byte: a PE32 or PE32+ file with one resource section,
// or a 16-bit NE file, holding the resources given; and the resources of an icon or cursor
// file as a group and its images. For the tests and the fuzz seeds (header only, so that the
// seed maker builds it without the test library).

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "FileIO.h"

namespace brixel::test {

// A type or name: named when name is not empty.
struct BuiltId {
  std::uint16_t number = 0;
  std::u16string name;
  BuiltId(std::uint16_t n = 0) : number(n) {}  // NOLINT: numbers stand for ids
  BuiltId(std::u16string text) : name(std::move(text)) {}
  bool Named() const { return !name.empty(); }
  // Named ids come first, by name; then numbers in order, as a resource directory keeps them.
  friend bool operator<(const BuiltId& a, const BuiltId& b) {
    return std::make_tuple(!a.Named(), a.name, a.number) < std::make_tuple(!b.Named(), b.name, b.number);
  }
};

struct BuiltResource {
  BuiltId type;
  BuiltId name;
  std::uint16_t language = 0;
  Bytes data;
};

namespace builder {

inline void PutWord(Bytes& bytes, std::size_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void PutLong(Bytes& bytes, std::size_t value) {
  PutWord(bytes, value & 0xffff);
  PutWord(bytes, (value >> 16) & 0xffff);
}
inline void SetWord(Bytes& bytes, std::size_t at, std::size_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void SetLong(Bytes& bytes, std::size_t at, std::size_t value) {
  SetWord(bytes, at, value & 0xffff);
  SetWord(bytes, at + 2, (value >> 16) & 0xffff);
}
inline std::uint16_t GetWord(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
inline std::uint32_t GetLong(const Bytes& bytes, std::size_t at) {
  return GetWord(bytes, at) | static_cast<std::uint32_t>(GetWord(bytes, at + 2)) << 16;
}
inline void PadTo(Bytes& bytes, std::size_t alignment) {
  while (bytes.size() % alignment != 0) bytes.push_back(0);
}

}  // namespace builder

inline constexpr std::uint32_t kBuiltSectionAddress = 0x1000;
inline constexpr std::size_t kBuiltSectionOffset = 0x200;

// The resource section (its directories at offset 0) for a section at address.
inline Bytes BuildResourceSection(const std::vector<BuiltResource>& resources, std::uint32_t address) {
  using namespace builder;
  std::map<BuiltId, std::map<BuiltId, std::map<std::uint16_t, std::size_t>>> tree;
  for (std::size_t i = 0; i < resources.size(); ++i) {
    tree[resources[i].type][resources[i].name][resources[i].language] = i;
  }
  Bytes out;
  std::vector<std::pair<std::size_t, std::u16string>> names;  // entry's name field, the name
  std::vector<std::pair<std::size_t, std::size_t>> leaves;    // entry's data field, resource
  // A directory header for these ids and room for their entries; returns where the entries start.
  const auto directory = [&](const auto& level) {
    std::size_t named = 0;
    for (const auto& [id, below] : level) named += id.Named() ? 1 : 0;
    out.resize(out.size() + 12, 0);
    PutWord(out, named);
    PutWord(out, level.size() - named);
    const std::size_t entries = out.size();
    std::size_t at = entries;
    for (const auto& [id, below] : level) {
      out.resize(out.size() + 8, 0);
      if (id.Named()) names.push_back({at, id.name});
      else SetLong(out, at, id.number);
      at += 8;
    }
    return entries;
  };
  const std::size_t typeEntries = directory(tree);
  std::size_t t = 0;
  for (const auto& [type, byName] : tree) {
    SetLong(out, typeEntries + 8 * t++ + 4, out.size() | 0x80000000u);
    const std::size_t nameEntries = directory(byName);
    std::size_t n = 0;
    for (const auto& [name, byLanguage] : byName) {
      SetLong(out, nameEntries + 8 * n++ + 4, out.size() | 0x80000000u);
      std::map<BuiltId, std::size_t> languages;
      for (const auto& [language, index] : byLanguage) languages[BuiltId(language)] = index;
      const std::size_t languageEntries = directory(languages);
      std::size_t l = 0;
      for (const auto& [language, index] : languages) leaves.push_back({languageEntries + 8 * l++ + 4, index});
    }
  }
  for (const auto& [field, name] : names) {
    SetLong(out, field, out.size() | 0x80000000u);
    PutWord(out, name.size());
    for (const char16_t c : name) PutWord(out, c);
  }
  PadTo(out, 4);
  std::vector<std::size_t> dataEntries;
  for (const auto& [field, index] : leaves) {
    SetLong(out, field, out.size());
    dataEntries.push_back(out.size());
    out.resize(out.size() + 16, 0);
  }
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    PadTo(out, 8);
    const Bytes& data = resources[leaves[i].second].data;
    SetLong(out, dataEntries[i], address + out.size());
    SetLong(out, dataEntries[i] + 4, data.size());
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

// A PE32 (plus false) or PE32+ file whose one section, ".rsrc", holds the resources.
inline Bytes BuildPeFile(const std::vector<BuiltResource>& resources, bool plus) {
  using namespace builder;
  const Bytes section = BuildResourceSection(resources, kBuiltSectionAddress);
  Bytes file(0x40, 0);
  file[0] = 'M';
  file[1] = 'Z';
  SetLong(file, 0x3c, 0x40);
  for (const char c : {'P', 'E', '\0', '\0'}) file.push_back(static_cast<std::uint8_t>(c));
  const std::size_t optionalSize = (plus ? 112 : 96) + 16 * 8;
  PutWord(file, plus ? 0x8664 : 0x14c);  // machine
  PutWord(file, 1);                      // sections
  PutLong(file, 0);
  PutLong(file, 0);
  PutLong(file, 0);
  PutWord(file, optionalSize);
  PutWord(file, 0x2102);  // a library
  const std::size_t optional = file.size();
  file.resize(optional + optionalSize, 0);
  SetWord(file, optional, plus ? 0x20b : 0x10b);
  const std::size_t tables = optional + (plus ? 112 : 96);
  SetLong(file, tables - 4, 16);
  SetLong(file, tables + 2 * 8, kBuiltSectionAddress);
  SetLong(file, tables + 2 * 8 + 4, section.size());
  const std::size_t rawSize = (section.size() + 0x1ff) & ~std::size_t{0x1ff};
  Bytes header(40, 0);
  for (std::size_t i = 0; i < 5; ++i) header[i] = static_cast<std::uint8_t>(".rsrc"[i]);
  SetLong(header, 8, section.size());
  SetLong(header, 12, kBuiltSectionAddress);
  SetLong(header, 16, rawSize);
  SetLong(header, 20, kBuiltSectionOffset);
  file.insert(file.end(), header.begin(), header.end());
  file.resize(kBuiltSectionOffset, 0);
  file.insert(file.end(), section.begin(), section.end());
  file.resize(kBuiltSectionOffset + rawSize, 0);
  return file;
}

// A 16-bit NE file (as an icon library is) holding the resources, aligned to 16 bytes. Its
// resources have no language.
inline Bytes BuildNeFile(const std::vector<BuiltResource>& resources) {
  using namespace builder;
  constexpr std::size_t kShift = 4;
  Bytes file(0x40, 0);
  file[0] = 'M';
  file[1] = 'Z';
  SetLong(file, 0x3c, 0x40);
  const std::size_t header = file.size();
  file.resize(header + 0x40, 0);
  file[header] = 'N';
  file[header + 1] = 'E';
  const std::size_t table = file.size();
  SetWord(file, header + 0x24, table - header);
  std::map<BuiltId, std::vector<std::size_t>> byType;
  for (std::size_t i = 0; i < resources.size(); ++i) byType[resources[i].type].push_back(i);
  PutWord(file, kShift);
  std::vector<std::pair<std::size_t, std::u16string>> names;  // field, name
  std::vector<std::pair<std::size_t, std::size_t>> entries;   // nameinfo, resource
  for (const auto& [type, indices] : byType) {
    if (type.Named()) names.push_back({file.size(), type.name});
    PutWord(file, type.Named() ? 0 : type.number | 0x8000);
    PutWord(file, indices.size());
    PutLong(file, 0);
    for (const std::size_t index : indices) {
      entries.push_back({file.size(), index});
      PutWord(file, 0);
      PutWord(file, 0);
      PutWord(file, 0x30);
      if (resources[index].name.Named()) names.push_back({file.size(), resources[index].name.name});
      PutWord(file, resources[index].name.Named() ? 0 : resources[index].name.number | 0x8000);
      PutLong(file, 0);
    }
  }
  PutWord(file, 0);
  for (const auto& [field, name] : names) {
    SetWord(file, field, file.size() - table);
    file.push_back(static_cast<std::uint8_t>(name.size()));
    for (const char16_t c : name) file.push_back(static_cast<std::uint8_t>(c));
  }
  // The resident names table follows: empty.
  SetWord(file, header + 0x26, file.size() - header);
  file.push_back(0);
  for (const auto& [field, index] : entries) {
    PadTo(file, std::size_t{1} << kShift);
    const Bytes& data = resources[index].data;
    SetWord(file, field, file.size() >> kShift);
    SetWord(file, field + 2, (data.size() + (1 << kShift) - 1) >> kShift);
    file.insert(file.end(), data.begin(), data.end());
  }
  PadTo(file, std::size_t{1} << kShift);
  return file;
}

// The resources of an icon (type 1) or cursor (type 2) file: a group (type 14 or 12) named
// group, and an image (type 3 or 1) for each entry, numbered from firstImage, a cursor's with
// its hot spot in front.
inline std::vector<BuiltResource> ResourcesOfIconFile(const Bytes& file, BuiltId group, std::uint16_t firstImage,
                                                      std::uint16_t language = 0) {
  using namespace builder;
  const bool cursor = GetWord(file, 2) == 2;
  const std::size_t count = GetWord(file, 4);
  std::vector<BuiltResource> resources;
  Bytes directory;
  PutWord(directory, 0);
  PutWord(directory, cursor ? 2 : 1);
  PutWord(directory, count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const std::size_t size = GetLong(file, entry + 8);
    const std::size_t offset = GetLong(file, entry + 12);
    Bytes image;
    if (cursor) {
      image.insert(image.end(), file.begin() + static_cast<std::ptrdiff_t>(entry + 4),
                   file.begin() + static_cast<std::ptrdiff_t>(entry + 8));
    }
    image.insert(image.end(), file.begin() + static_cast<std::ptrdiff_t>(offset),
                 file.begin() + static_cast<std::ptrdiff_t>(offset + size));
    if (cursor) {
      PutWord(directory, file[entry] == 0 ? 256 : file[entry]);
      PutWord(directory, (file[entry + 1] == 0 ? 256 : file[entry + 1]) * 2);
      PutWord(directory, 1);
      PutWord(directory, GetWord(file, offset + 14));  // the bitmap's bit count
    } else {
      directory.insert(directory.end(), file.begin() + static_cast<std::ptrdiff_t>(entry),
                       file.begin() + static_cast<std::ptrdiff_t>(entry + 8));
    }
    PutLong(directory, image.size());
    PutWord(directory, firstImage + i);
    resources.push_back({BuiltId(cursor ? 1 : 3), BuiltId(static_cast<std::uint16_t>(firstImage + i)), language, image});
  }
  resources.push_back({BuiltId(cursor ? 12 : 14), group, language, directory});
  return resources;
}

}  // namespace brixel::test
