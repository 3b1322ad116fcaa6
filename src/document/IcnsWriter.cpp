// The writing half of IcnsFile.h.
#include <algorithm>
#include <set>

#include "AlphaChannel.h"
#include "ErrorReport.h"
#include "IcnsFile.h"
#include "IcnsRunLength.h"
#include "IcnsTypes.h"
#include "PngCodec.h"
#include "PngEntry.h"
#include "RgbaPicture.h"

namespace brixel {
namespace {

bool g_runLengthEntries = false;

// Each value once, in the order it first comes, with how many times it comes.
template <typename T>
std::vector<std::pair<T, std::size_t>> CountedInOrder(const std::vector<T>& values) {
  std::vector<std::pair<T, std::size_t>> counted;
  for (const T& value : values) {
    const auto found = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == value; });
    if (found != counted.end()) ++found->second;
    else counted.emplace_back(value, 1);
  }
  return counted;
}

// The PNG of an image: the bytes it was read from while it is unchanged, else made afresh.
Bytes PngOfImage(const IconImage& image) {
  if (UnchangedSincePngRead(image)) return image.ReadFrom.source->png;
  const RgbaPicture rgba = RgbaForWriting(image);
  return EncodePng(rgba.Width, rgba.Height, rgba.Rgba);
}

// The run-length entry of an image and its mask entry.
std::pair<Bytes, Bytes> RunLengthOfImage(const IconImage& image) {
  const RgbaPicture rgba = RgbaForWriting(image);
  const std::size_t count = rgba.Rgba.size() / 4;
  Bytes colours;
  for (std::size_t c = 0; c < 3; ++c) {
    std::vector<std::uint8_t> plane(count);
    for (std::size_t i = 0; i < count; ++i) plane[i] = rgba.Rgba[4 * i + c];
    AppendRunLengthPlane(plane, colours);
  }
  Bytes mask(count);
  for (std::size_t i = 0; i < count; ++i) mask[i] = rgba.Rgba[4 * i + 3];
  return {std::move(colours), std::move(mask)};
}

struct SizeTypes {
  int size;
  std::vector<std::uint32_t> png;        // the type for the size, then its @2x type
  std::uint32_t runLength = 0;           // with its mask type
  std::uint32_t runLengthMask = 0;
  bool runLengthAlways = false;
};

const std::vector<SizeTypes>& TypesBySize() {
  static const std::vector<SizeTypes> types = {
      {16, {IcnsType("icp4")}, IcnsType("is32"), IcnsType("s8mk")},
      {32, {IcnsType("icp5"), IcnsType("ic11")}, IcnsType("il32"), IcnsType("l8mk")},
      {48, {}, IcnsType("ih32"), IcnsType("h8mk"), true},
      {64, {IcnsType("icp6"), IcnsType("ic12")}},
      {128, {IcnsType("ic07")}, IcnsType("it32"), IcnsType("t8mk")},
      {256, {IcnsType("ic08"), IcnsType("ic13")}},
      {512, {IcnsType("ic09"), IcnsType("ic14")}},
      {1024, {IcnsType("ic10")}},
  };
  return types;
}

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

}  // namespace

bool IcnsRunLengthEntries() { return g_runLengthEntries; }
void IcnsRunLengthEntries(bool on) { g_runLengthEntries = on; }

Bytes BuildIcnsFile(const std::vector<IconImage>& images, std::vector<std::string>& leftOut,
                    const std::vector<IcnsEntry>& others) {
  std::vector<IcnsEntry> entries;
  std::set<std::uint32_t> taken;
  const auto add = [&](std::uint32_t type, Bytes data) {
    if (!taken.insert(type).second) return false;
    entries.push_back({type, std::move(data)});
    return true;
  };
  for (const IconImage& image : images) {
    if (!image.IsKept()) continue;
    const KeptEntry& kept = *image.Kept.entry;
    if (kept.icnsType != 0) add(kept.icnsType, kept.block);
    else leftOut.push_back(SizeText(kept.width, kept.height) + " (an icon file's entry kept as it is)");
  }
  std::set<int> written;
  for (const IconImage& image : images) {
    if (image.IsKept()) continue;
    const int width = image.Width;
    const int height = image.Height();
    if (!IsIcnsSize(width, height)) {
      leftOut.push_back(SizeText(width, height));
      continue;
    }
    if (!written.insert(width).second) {
      leftOut.push_back(SizeText(width, height) + " (a second image of its size)");
      continue;
    }
    const SizeTypes& types = *std::find_if(TypesBySize().begin(), TypesBySize().end(),
                                           [&](const SizeTypes& t) { return t.size == width; });
    bool placed = false;
    if (!types.png.empty()) {
      const Bytes png = PngOfImage(image);
      for (const std::uint32_t type : types.png) placed = add(type, png) || placed;
    }
    // Run-length entries also stand in for PNG types that kept entries hold.
    if (types.runLength && (types.runLengthAlways || g_runLengthEntries || !placed) &&
        !taken.count(types.runLength) && !taken.count(types.runLengthMask)) {
      auto [colours, mask] = RunLengthOfImage(image);
      if (width == 128) colours.insert(colours.begin(), 4, 0);  // as the 128 pixel entry starts
      placed = add(types.runLength, std::move(colours)) && add(types.runLengthMask, std::move(mask));
    }
    if (!placed) leftOut.push_back(SizeText(width, height) + " (its entry types hold entries kept as they are)");
  }
  if (entries.empty()) {
    throw BackEndError(static_cast<int>(ErrorCode::InvalidArgument),
                       "No image can be written to an .icns file: it holds square images of 16, 32, 48, 64, "
                       "128, 256, 512 and 1024 pixels");
  }
  entries.insert(entries.end(), others.begin(), others.end());
  return IcnsFileOf(entries);
}

Bytes IcnsFileOf(const std::vector<IcnsEntry>& entries) {
  std::uint64_t total = kIcnsHeaderBytes * 2 + kIcnsHeaderBytes * entries.size();
  for (const IcnsEntry& entry : entries) total += kIcnsHeaderBytes + entry.data.size();
  if (total > UINT32_MAX) Raise(ErrorCode::Overflow);
  Bytes file;
  file.reserve(static_cast<std::size_t>(total));
  AppendBigEndian(file, kIcnsMagic);
  AppendBigEndian(file, static_cast<std::uint32_t>(total));
  // The table of contents: each entry's type and length, as the system's own tools write it.
  AppendBigEndian(file, kIcnsTableOfContents);
  AppendBigEndian(file, static_cast<std::uint32_t>(kIcnsHeaderBytes + kIcnsHeaderBytes * entries.size()));
  for (const IcnsEntry& entry : entries) {
    AppendBigEndian(file, entry.type);
    AppendBigEndian(file, static_cast<std::uint32_t>(kIcnsHeaderBytes + entry.data.size()));
  }
  for (const IcnsEntry& entry : entries) {
    AppendBigEndian(file, entry.type);
    AppendBigEndian(file, static_cast<std::uint32_t>(kIcnsHeaderBytes + entry.data.size()));
    file.insert(file.end(), entry.data.begin(), entry.data.end());
  }
  return file;
}

std::vector<IcnsEntry> MacIconOnlyEntries(const std::vector<IconImage>& images, const std::vector<IcnsEntry>& others) {
  std::vector<IcnsEntry> entries;
  for (const IconImage& image : images) {
    if (IsIcnsKeptEntry(image)) entries.push_back({image.Kept.entry->icnsType, image.Kept.entry->block});
  }
  entries.insert(entries.end(), others.begin(), others.end());
  return entries;
}

std::string IcnsLeftOutText(const std::vector<std::string>& leftOut) {
  std::string text;
  for (auto [named, count] : CountedInOrder(leftOut)) {
    if (count > 1) {
      const std::string many = std::to_string(count) + " of them";
      named = named.back() == ')' ? named.insert(named.size() - 1, "; " + many) : named + " (" + many + ")";
    }
    text += (text.empty() ? "" : ", ") + named;
  }
  return text;
}

std::string IcnsEntryTypesText(const std::vector<IcnsEntry>& entries) {
  constexpr std::size_t kTypesNamed = 8;
  std::vector<std::uint32_t> types;
  for (const IcnsEntry& entry : entries) types.push_back(entry.type);
  const auto counts = CountedInOrder(types);
  std::string text;
  for (std::size_t i = 0; i < counts.size() && i < kTypesNamed; ++i) {
    text += (i ? ", '" : "'") + IcnsTypeName(counts[i].first) + "'";
    if (counts[i].second > 1) text += " (" + std::to_string(counts[i].second) + ")";
  }
  if (counts.size() > kTypesNamed) text += " and " + std::to_string(counts.size() - kTypesNamed) + " other types";
  return text;
}

std::string MacIconOnlyEntriesText(const std::vector<IconImage>& images, const std::vector<IcnsEntry>& others) {
  std::string text;
  for (const IconImage& image : images) {
    if (!IsIcnsKeptEntry(image)) continue;
    const KeptEntry& kept = *image.Kept.entry;
    text += (text.empty() ? "the " : ", the ") + std::to_string(kept.width) + "x" + std::to_string(kept.height) +
            " image that cannot be shown (" + kept.reason + ")";
  }
  if (!others.empty()) text += (text.empty() ? "" : ", ") + IcnsEntryTypesText(others);
  return text;
}

}  // namespace brixel
