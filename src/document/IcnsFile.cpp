#include "IcnsFile.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>

#include "AlphaChannel.h"
#include "AsciiText.h"
#include "ErrorReport.h"
#include "IcnsClassic.h"
#include "IcnsRunLength.h"
#include "IcnsTypes.h"
#include "IcoFile.h"
#include "Jpeg2000Data.h"
#include "PngCodec.h"
#include "PngEntry.h"
#include "RgbaPicture.h"

namespace brixel {
namespace {

// JPEG 2000 entries hold at most the largest size of the format.
constexpr int kLargestEntrySide = 1024;
// Entries that hold no image are kept one by one, each a copy; the format's types number under a
// hundred, so a file of more such entries than this is refused rather than held.
constexpr std::size_t kMostOtherEntries = 4096;

std::uint32_t BigEndian(ByteView bytes, std::size_t at) { return BigEndian32(&bytes[at]); }

BackEndError Damaged(const std::string& reason) {
  return BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                      ErrorDescription(static_cast<int>(ErrorCode::InvalidPicture)) + " (.icns file: " + reason + ")");
}

[[noreturn]] void RaiseDamaged(const std::string& reason) { throw Damaged(reason); }

struct Entry {
  std::uint32_t type = 0;
  ByteView data;
};

// Every entry of the file, in its order. The file's length and each entry's must lie inside
// the bytes there are; each entry is at least its own header, so the walk always advances.
std::vector<Entry> WalkEntries(ByteView file) {
  if (!IsIcnsData(file)) RaiseDamaged("no icns header");
  const std::uint32_t declared = BigEndian(file, 4);
  if (declared < kIcnsHeaderBytes || declared > file.size()) {
    RaiseDamaged("its header gives a length of " + std::to_string(declared) + " bytes, the file holds " +
                 std::to_string(file.size()));
  }
  std::vector<Entry> entries;
  std::size_t at = kIcnsHeaderBytes;
  while (at < declared) {
    if (declared - at < kIcnsHeaderBytes) RaiseDamaged("an entry header is cut short at byte " + std::to_string(at));
    const std::uint32_t type = BigEndian(file, at);
    const std::uint32_t length = BigEndian(file, at + 4);
    if (length < kIcnsHeaderBytes || length > declared - at) {
      RaiseDamaged("entry '" + IcnsTypeName(type) + "' at byte " + std::to_string(at) + " gives a length of " +
                   std::to_string(length) + " bytes, " + std::to_string(declared - at) + " are left");
    }
    entries.push_back({type, file.subspan(at + kIcnsHeaderBytes, length - kIcnsHeaderBytes)});
    at += length;
  }
  return entries;
}

// How an entry type holds its picture.
enum class Kind { Picture, RunLength, Classic };

struct Candidate {
  std::uint32_t type;
  int width;
  int height;
  Kind kind;
  std::uint32_t companion = 0;  // the mask entry (run-length), the 1-bit entry with the mask (old)
  int bitDepth = 32;
};

// Every type that gives an image, the best of each size first.
constexpr Candidate kCandidates[] = {
    {IcnsType("icp4"), 16, 16, Kind::Picture},   {IcnsType("icp5"), 32, 32, Kind::Picture},
    {IcnsType("icp6"), 64, 64, Kind::Picture},   {IcnsType("ic07"), 128, 128, Kind::Picture},
    {IcnsType("ic08"), 256, 256, Kind::Picture}, {IcnsType("ic09"), 512, 512, Kind::Picture},
    {IcnsType("is32"), 16, 16, Kind::RunLength, IcnsType("s8mk")},
    {IcnsType("il32"), 32, 32, Kind::RunLength, IcnsType("l8mk")},
    {IcnsType("ih32"), 48, 48, Kind::RunLength, IcnsType("h8mk")},
    {IcnsType("it32"), 128, 128, Kind::RunLength, IcnsType("t8mk")},
    {IcnsType("ic11"), 32, 32, Kind::Picture},   {IcnsType("ic12"), 64, 64, Kind::Picture},
    {IcnsType("ic13"), 256, 256, Kind::Picture}, {IcnsType("ic14"), 512, 512, Kind::Picture},
    {IcnsType("ic10"), 1024, 1024, Kind::Picture},
    {IcnsType("ic04"), 16, 16, Kind::Picture},   {IcnsType("ic05"), 32, 32, Kind::Picture},
    {IcnsType("ics8"), 16, 16, Kind::Classic, IcnsType("ics#"), 8},
    {IcnsType("ics4"), 16, 16, Kind::Classic, IcnsType("ics#"), 4},
    {IcnsType("ics#"), 16, 16, Kind::Classic, IcnsType("ics#"), 1},
    {IcnsType("icl8"), 32, 32, Kind::Classic, IcnsType("ICN#"), 8},
    {IcnsType("icl4"), 32, 32, Kind::Classic, IcnsType("ICN#"), 4},
    {IcnsType("ICN#"), 32, 32, Kind::Classic, IcnsType("ICN#"), 1},
    {IcnsType("ich8"), 48, 48, Kind::Classic, IcnsType("ich#"), 8},
    {IcnsType("ich4"), 48, 48, Kind::Classic, IcnsType("ich#"), 4},
    {IcnsType("ich#"), 48, 48, Kind::Classic, IcnsType("ich#"), 1},
    {IcnsType("icm8"), 16, 12, Kind::Classic, IcnsType("icm#"), 8},
    {IcnsType("icm4"), 16, 12, Kind::Classic, IcnsType("icm#"), 4},
    {IcnsType("icm#"), 16, 12, Kind::Classic, IcnsType("icm#"), 1},
};

// An entry that cannot be shown, with why.
struct Unreadable {
  std::string reason;
};

// What the images of one file may still take: PNG and JPEG 2000 pixels.
struct Budget {
  std::size_t pixels = kPngPixelBudget;
};

// More pixels than one file may hold fail the file, not the entry: a type of its own, so that
// no handler of an entry's errors takes it for one.
struct OverBudget {
  BackEndError error;
};

void ChargePixels(Budget& budget, std::uint64_t pixels) {
  if (pixels > budget.pixels) {
    throw OverBudget{Damaged("its PNG and JPEG 2000 entries hold more than " + std::to_string(kPngPixelBudget) +
                             " pixels")};
  }
  budget.pixels -= static_cast<std::size_t>(pixels);
}

// A 32-bit image of 8-bit RGBA rows, each pixel read as a PNG entry's is; the alpha is kept
// (while the option is on) when the entry carries one.
IconImage ImageFromRgba(int width, int height, const std::uint8_t* rgba, bool carriesAlpha) {
  IconImage image = MakeNewImage(width, height, 32);
  FillFromRgba(image, rgba, carriesAlpha && KeepAlpha());
  return image;
}

IconImage ReadPngEntry(ByteView png, Budget& budget) {
  PngPicture picture;
  try {
    picture = DecodePng(png, [&](const PngHeader& header) {
      if (header.width > kLargestEntrySide || header.height > kLargestEntrySide) {
        throw Unreadable{"PNG larger than 1024 pixels"};
      }
      // A header claiming more rows than its data could hold is refused before any is read.
      if (FewestCompressedBytes(header) > png.size()) throw Unreadable{"damaged PNG"};
      ChargePixels(budget, std::uint64_t{header.width} * header.height);
    });
  } catch (const BackEndError& error) {
    // Out of memory fails the file, not the entry.
    if (error.Number() == static_cast<int>(ErrorCode::OutOfMemory)) throw;
    throw Unreadable{"damaged PNG"};
  }
  IconImage image = ImageFromRgba(picture.width, picture.height, picture.rgba.data(), true);
  if (image.CarriesAlpha()) {
    // Written back as these bytes while it is unchanged.
    image.StoredAsPng = true;
    image.ReadFrom.source = std::make_shared<const PngEntrySource>(
        PngEntrySource{{png.begin(), png.end()}, picture.width, picture.height, std::move(picture.rgba)});
  }
  return image;
}

IconImage ReadJpeg2000Entry(ByteView data, const PictureDecoder& decoder, Budget& budget) {
  if (!decoder) throw Unreadable{"JPEG 2000"};
  LoadedPicture picture;
  std::string message;
  if (!decoder(Bytes(data.begin(), data.end()), "entry.jp2", picture, message)) {
    throw Unreadable{"JPEG 2000: " + message};
  }
  if (picture.Empty() || picture.Width() > kLargestEntrySide || picture.Height() > kLargestEntrySide) {
    throw Unreadable{"JPEG 2000 larger than 1024 pixels"};
  }
  ChargePixels(budget, static_cast<std::uint64_t>(picture.Width()) * static_cast<std::uint64_t>(picture.Height()));
  const RgbaPicture rgba = RgbaFromPicture(picture);
  return ImageFromRgba(rgba.Width, rgba.Height, rgba.Rgba.data(), picture.HasAlpha());
}

// Planes of width x height bytes, run-length coded one after the other from position.
std::vector<std::vector<std::uint8_t>> ReadPlanes(ByteView data, std::size_t position, int planes, int width,
                                                  int height) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<std::vector<std::uint8_t>> result;
  for (int i = 0; i < planes; ++i) {
    std::optional<std::vector<std::uint8_t>> plane = DecodeRunLengthPlane(data, position, count);
    if (!plane) throw Unreadable{"damaged run-length data"};
    result.push_back(std::move(*plane));
  }
  return result;
}

// "ARGB" and the four planes, alpha first.
IconImage ReadArgbEntry(ByteView data, int width, int height) {
  const auto planes = ReadPlanes(data, 4, 4, width, height);
  std::vector<std::uint8_t> rgba;
  for (std::size_t i = 0; i < planes[0].size(); ++i) {
    rgba.insert(rgba.end(), {planes[1][i], planes[2][i], planes[3][i], planes[0][i]});
  }
  return ImageFromRgba(width, height, rgba.data(), true);
}

// Red, green and blue planes, run-length coded (or, when the data is exactly their size, the
// pixels' bytes as they are); the mask entry's bytes are the alpha.
IconImage ReadRunLengthEntry(ByteView data, int width, int height, std::optional<ByteView> mask) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  // The 128 pixel entry starts with four bytes of 0.
  const std::size_t start = data.size() >= 4 && BigEndian(data, 0) == 0 && width == 128 ? 4 : 0;
  std::vector<std::uint8_t> rgba(count * 4, 255);
  if (data.size() == 3 * count) {
    for (std::size_t i = 0; i < count; ++i) std::copy_n(&data[3 * i], 3, &rgba[4 * i]);
  } else {
    const auto planes = ReadPlanes(data, start, 3, width, height);
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t c = 0; c < 3; ++c) rgba[4 * i + c] = planes[c][i];
    }
  }
  const bool masked = mask && mask->size() >= count;
  if (masked) {
    for (std::size_t i = 0; i < count; ++i) rgba[4 * i + 3] = (*mask)[i];
  }
  return ImageFromRgba(width, height, rgba.data(), masked);
}

const Entry* FindEntry(const std::vector<Entry>& entries, std::uint32_t type) {
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.type == type; });
  return found == entries.end() ? nullptr : &*found;
}

IconImage ReadCandidate(const Candidate& candidate, const Entry& entry, const std::vector<Entry>& entries,
                        const PictureDecoder& jpeg2000, Budget& budget) {
  const ByteView data = entry.data;
  if (IsPng(data)) return ReadPngEntry(data, budget);
  if (IsJpeg2000Data(data)) return ReadJpeg2000Entry(data, jpeg2000, budget);
  const Entry* companion = candidate.companion ? FindEntry(entries, candidate.companion) : nullptr;
  const std::optional<ByteView> companionData = companion ? std::optional<ByteView>(companion->data) : std::nullopt;
  if (candidate.kind == Kind::Classic) {
    std::optional<IconImage> image =
        ReadClassicEntry(data, candidate.width, candidate.height, candidate.bitDepth, companionData);
    if (!image) throw Unreadable{"data cut short"};
    return std::move(*image);
  }
  if (data.size() >= 4 && BigEndian(data, 0) == IcnsType("ARGB")) return ReadArgbEntry(data, candidate.width, candidate.height);
  // Older writers put run-length RGB into the small PNG types too.
  if (candidate.kind == Kind::RunLength || candidate.width <= 32) {
    return ReadRunLengthEntry(data, candidate.width, candidate.height, companionData);
  }
  throw Unreadable{"unknown data"};
}

// Whether an entry of this type gives an image, or the mask or old 1-bit picture of one.
bool IsPictureType(std::uint32_t type) {
  return std::any_of(std::begin(kCandidates), std::end(kCandidates), [type](const Candidate& candidate) {
    return candidate.type == type || candidate.companion == type;
  });
}

IconImage KeptIcnsImage(const Entry& entry, const Candidate& candidate, const std::string& reason) {
  auto kept = std::make_shared<KeptEntry>();
  kept->block.assign(entry.data.begin(), entry.data.end());
  for (int i = 0; i < 4; ++i) kept->directory[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(entry.type >> (24 - 8 * i));
  kept->width = candidate.width;
  kept->height = candidate.height;
  kept->bitCount = 32;
  kept->icnsType = entry.type;
  kept->reason = reason;
  kept->errorText = "The " + IcnsTypeName(entry.type) + " entry cannot be shown (" + reason + ")";
  IconImage image;
  image.Kept.entry = std::move(kept);
  return image;
}


}  // namespace

std::string IcnsTypeName(std::uint32_t type) {
  std::string name;
  for (const int shift : {24, 16, 8, 0}) {
    const char c = static_cast<char>((type >> shift) & 0xFF);
    name += c >= 0x20 && c < 0x7F ? c : '?';
  }
  return name;
}

bool IsIcnsData(ByteView bytes) { return bytes.size() >= kIcnsHeaderBytes && BigEndian(bytes, 0) == kIcnsMagic; }

bool IsIcnsPath(const std::string& path) {
  constexpr std::string_view kExtension = ".ICNS";
  return path.size() > kExtension.size() && AsciiUpper(path.substr(path.size() - kExtension.size())) == kExtension;
}

bool IsIcnsSize(int width, int height) {
  return width == height && std::find(std::begin(kIcnsSizes), std::end(kIcnsSizes), width) != std::end(kIcnsSizes);
}

void ReadIcnsEntries(ByteView file, std::vector<IconImage>& images, const PictureDecoder& jpeg2000,
                     std::vector<IcnsEntry>* others, int onlySide) {
  const std::vector<Entry> entries = WalkEntries(file);
  images.clear();
  if (others) {
    others->clear();
    for (const Entry& entry : entries) {
      if (entry.type == kIcnsTableOfContents || IsPictureType(entry.type)) continue;
      if (others->size() == kMostOtherEntries) {
        RaiseDamaged("more than " + std::to_string(kMostOtherEntries) + " entries that hold no image");
      }
      others->push_back({entry.type, Bytes(entry.data.begin(), entry.data.end())});
    }
  }
  Budget budget;
  std::set<std::pair<int, int>> shown;
  for (const Candidate& candidate : kCandidates) {
    // The first entry of a type counts; a size shown already needs no other entry.
    const Entry* entry = FindEntry(entries, candidate.type);
    if (!entry || shown.count({candidate.width, candidate.height})) continue;
    if (onlySide != 0 && std::max(candidate.width, candidate.height) != onlySide) continue;
    try {
      images.push_back(ReadCandidate(candidate, *entry, entries, jpeg2000, budget));
      shown.insert({candidate.width, candidate.height});
    } catch (const Unreadable& unreadable) {
      images.push_back(KeptIcnsImage(*entry, candidate, unreadable.reason));
    } catch (const OverBudget& over) {
      throw over.error;
    }
  }
  // Smallest first, as icon files are shown.
  std::stable_sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
    const int sideA = a.IsKept() ? a.Kept.entry->width : a.Width;
    const int sideB = b.IsKept() ? b.Kept.entry->width : b.Width;
    return sideA < sideB;
  });
}

std::optional<std::vector<int>> IcnsImageSides(ByteView file) {
  const std::vector<Entry> entries = WalkEntries(file);
  std::set<int> sides;
  for (const Candidate& candidate : kCandidates) {
    const Entry* entry = FindEntry(entries, candidate.type);
    if (!entry) continue;
    if (IsPng(entry->data)) {
      const auto size = PngSize(entry->data);
      if (size && (size->first != static_cast<std::uint32_t>(candidate.width) ||
                   size->second != static_cast<std::uint32_t>(candidate.height))) {
        return std::nullopt;
      }
    }
    sides.insert(std::max(candidate.width, candidate.height));
  }
  return std::vector<int>(sides.begin(), sides.end());
}

bool ReadIcnsImages(ByteView file, std::vector<IconImage>& images, const PictureDecoder& jpeg2000,
                    std::vector<IcnsEntry>* others) {
  ReadIcnsEntries(file, images, jpeg2000, others);
  if (HasShownImage(images)) return true;
  std::string reasons;
  for (const IconImage& image : images) {
    reasons += (reasons.empty() ? "" : "; ") + image.Kept.entry->errorText;
  }
  images.clear();
  if (others) others->clear();
  RaiseDamaged(reasons.empty() ? "no entry holds an image" : reasons);
}


bool HasIcnsKeptEntries(const std::vector<IconImage>& images) {
  return std::any_of(images.begin(), images.end(), IsIcnsKeptEntry);
}

std::vector<IconImage> WithoutIcnsKeptEntries(const std::vector<IconImage>& images) {
  std::vector<IconImage> rest;
  for (const IconImage& image : images) {
    if (!IsIcnsKeptEntry(image)) rest.push_back(image);
  }
  return rest;
}

}  // namespace brixel
