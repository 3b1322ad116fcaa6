#include "IcoFile.h"

#include <algorithm>
#include <memory>
#include <string>

#include "AlphaChannel.h"
#include "AsciiText.h"
#include "ByteOrder.h"
#include "IcnsFile.h"
#include "Numeric.h"
#include "Palette.h"
#include "PngCodec.h"
#include "PngEntry.h"
#include "Prompter.h"
#include "RowTranslation.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kTranslateLabel = "PrjBackEnd.mTranslate.TranslateIcon";

bool IsPngBlock(ByteView buffer) {
  return buffer.size() > kSingleImageBlockOffset && IsPng(buffer.subspan(kSingleImageBlockOffset));
}

bool IsKnownHeaderSize(std::uint32_t size) {
  return size == kBitmapHeaderSize || size == kBitmapV4HeaderSize || size == kBitmapV5HeaderSize;
}

// Bytes of its block that an image's header, colour table and colour rows take.
std::size_t BlockBytesUsed(const IconImage& image, std::size_t headerSize) {
  return headerSize + ColourTableBytes(image.BitDepth) +
         XorRowBytes(image.Width, image.BitDepth) * static_cast<std::size_t>(image.Height());
}

// An entry that cannot be shown: why, in a few words for its caption, and what reading it
// failed with (number 0: the message shown for it).
struct Unreadable {
  std::string reason;
  int errorNumber = 0;
  std::string errorText;
};

[[noreturn]] void Refuse(const char* reason, const BackEndError& error) {
  throw Unreadable{reason, error.Number(), error.Description()};
}

[[noreturn]] void Refuse(const char* reason, ErrorCode code) { Refuse(reason, BackEndError(code)); }

// A failure of the file as a whole (more than its bytes could describe), not of one entry.
struct FileFailure {
  BackEndError error;
};

void Charge(std::size_t& available, std::uint64_t amount) {
  if (amount > available) throw FileFailure{BackEndError(ErrorCode::InputPastEnd)};
  available -= static_cast<std::size_t>(amount);
}

// A PNG-compressed block: a 32-bit image of the PNG's size, each pixel read as ReadPngPixel
// says; with the option on the alpha is kept, and so is the entry, to be written back as is.
void ReadPngBlock(ByteView buffer, IconImage& image, ReadBudget& budget) {
  image.xHotSpot = buffer[10];
  image.yHotSpot = buffer[12];
  const ByteView png = buffer.subspan(kSingleImageBlockOffset);
  PngPicture picture;
  try {
    picture = DecodePng(png, [&](const PngHeader& header) {
      if (header.width > INT16_MAX || 2ULL * header.height > INT16_MAX) Refuse("PNG too large", ErrorCode::Overflow);
      // A header claiming more rows than its data could hold is refused before any is read.
      const std::uint64_t least = FewestCompressedBytes(header);
      if (least > png.size()) Refuse("damaged PNG", ErrorCode::InputPastEnd);
      const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
      // Like the bytes, a limit of the file as a whole: which entries it stops depends on the
      // others, so it fails the file rather than keep one of them.
      if (pixels > budget.pngPixels) {
        throw FileFailure{BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                                       "Invalid picture (PNG images of more than " +
                                           std::to_string(kPngPixelBudget) + " pixels in one file)")};
      }
      Charge(budget.bytes, least);
      budget.pngPixels -= static_cast<std::size_t>(pixels);
    });
  } catch (const BackEndError& e) {
    if (e.Number() == static_cast<int>(ErrorCode::OutOfMemory)) throw;
    Refuse("damaged PNG", e);
  }
  image.Width = ToInt16(picture.width);
  image.DibHeight = ToInt16(2LL * picture.height);
  image.BitDepth = 32;
  image.Palette.assign(256, kBlack);
  GetNewPalette(image.Palette);
  SizeGrids(image);
  const bool keep = KeepAlpha();
  FillFromRgba(image, picture.rgba.data(), keep);
  image.StoredAsPng = keep;
  if (keep) {
    image.ReadFrom.source = std::make_shared<const PngEntrySource>(
        PngEntrySource{{png.begin(), png.end()}, picture.width, picture.height, std::move(picture.rgba)});
  }
}

// Whether any pixel of a 32-bit image has a fourth byte other than 0.
bool RowsCarryAlpha(ByteView buffer, std::size_t rowsStart, const IconImage& image) {
  const std::size_t rowBytes = XorRowBytes(image.Width, 32);
  for (int stored = 0; stored < image.Height(); ++stored) {
    const std::uint8_t* row = &buffer[rowsStart + rowBytes * static_cast<std::size_t>(stored)];
    for (int x = 0; x < image.Width; ++x) {
      if (row[4 * static_cast<std::size_t>(x) + 3] != 0) return true;
    }
  }
  return false;
}

// The fourth bytes of a 32-bit image that carries alpha: a pixel of alpha 0 is transparent
// with colour 0 (not an inverting pixel); with the option on every pixel keeps its alpha.
void ApplyAlpha(ByteView buffer, std::size_t rowsStart, IconImage& image, bool keep) {
  const std::size_t rowBytes = XorRowBytes(image.Width, 32);
  if (keep) image.Alpha = Grid(image.Width, image.Height(), 0);
  for (int stored = 0; stored < image.Height(); ++stored) {
    const int y = image.Height() - 1 - stored;
    const std::uint8_t* row = &buffer[rowsStart + rowBytes * static_cast<std::size_t>(stored)];
    std::int32_t* pixels = image.Pixels.Row(y);
    std::int32_t* mask = image.Mask.Row(y);
    std::int32_t* alphas = keep ? image.Alpha.Row(y) : nullptr;
    for (int x = 0; x < image.Width; ++x) {
      const int alpha = row[4 * static_cast<std::size_t>(x) + 3];
      if (alpha == 0) {
        pixels[x] = kBlack;
        mask[x] = MaskTransparent;
      }
      if (alphas) alphas[x] = alpha;
    }
  }
}

// Where the AND rows of a bitmap block may end: the block's end, or for a V5 header whose
// colour profile follows the colour rows, the profile's start.
std::size_t AndRowsLimit(ByteView buffer, std::size_t headerSize, std::size_t maskStart) {
  if (headerSize != kBitmapV5HeaderSize) return buffer.size();
  const std::uint64_t profileOffset = GetLength(buffer, kSingleImageBlockOffset + 112);
  const std::uint64_t profileSize = GetLength(buffer, kSingleImageBlockOffset + 116);
  const std::uint64_t profileStart = kSingleImageBlockOffset + profileOffset;
  if (profileSize == 0 || profileStart < maskStart || profileStart > buffer.size()) {
    return buffer.size();
  }
  return static_cast<std::size_t>(profileStart);
}

// Compression values of a bitmap header that the rows of a 32-bit image can carry unchanged:
// none, or bit fields that are the usual blue, green and red bytes (given inside a V4 or V5
// header; after a 40-byte header they would move the rows).
bool UncompressedRows(ByteView buffer, std::size_t headerSize, int bitCount) {
  const std::uint32_t compression = GetLength(buffer, kSingleImageBlockOffset + 16);
  if (compression == 0) return true;
  constexpr std::uint32_t kBitFields = 3;
  return compression == kBitFields && bitCount == 32 && headerSize >= kBitmapV4HeaderSize &&
         GetLength(buffer, kSingleImageBlockOffset + 40) == 0x00FF0000 &&
         GetLength(buffer, kSingleImageBlockOffset + 44) == 0x0000FF00 &&
         GetLength(buffer, kSingleImageBlockOffset + 48) == 0x000000FF;
}

// A bitmap block: a header of 40, 108 or 124 bytes, rows that are not compressed, a depth the
// editor supports, and every row the header promises inside the block.
void ReadBitmapBlock(ByteView buffer, IconImage& image, int imageNumber, ReadBudget& limits) {
  const std::string number = std::to_string(imageNumber);
  if (buffer.size() <= kSingleImageBlockOffset) Refuse("no data", ErrorCode::InputPastEnd);
  if (buffer.size() < kSingleImageBlockOffset + 4) Refuse("data cut short", ErrorCode::InputPastEnd);
  const std::uint32_t headerSize = GetLength(buffer, kSingleImageBlockOffset);
  if (!IsKnownHeaderSize(headerSize)) {
    throw Unreadable{"unknown header", 0,
                     "Image " + number + " has a bitmap header of " + std::to_string(headerSize) +
                         " bytes; only headers of 40, 108 and 124 bytes are supported"};
  }
  if (buffer.size() < kSingleImageBlockOffset + headerSize) Refuse("data cut short", ErrorCode::InputPastEnd);
  const auto width = static_cast<std::int32_t>(GetLength(buffer, 26));
  const auto dibHeight = static_cast<std::int32_t>(GetLength(buffer, 30));
  const int bitCount = buffer[36] + 256 * buffer[37];
  if (bitCount != 0 && !IsSupportedDepth(bitCount)) {
    throw Unreadable{std::to_string(bitCount) + "-bit colour", 0,
                     std::to_string(bitCount) + " bit icons are not currently supported"};
  }
  if (bitCount == 0 || !UncompressedRows(buffer, headerSize, bitCount)) {
    throw Unreadable{"compressed bitmap", 0,
                     "Image " + number + " is a compressed bitmap; only uncompressed bitmaps are supported"};
  }
  if (width > INT16_MAX || dibHeight > INT16_MAX) Refuse("invalid size", ErrorCode::Overflow);
  if (width < 1 || dibHeight / 2 < 1) Refuse("invalid size", ErrorCode::InvalidArgument);
  image.xHotSpot = buffer[10];
  image.yHotSpot = buffer[12];
  image.Width = static_cast<std::int16_t>(width);
  image.DibHeight = static_cast<std::int16_t>(dibHeight);
  image.BitDepth = static_cast<std::int16_t>(bitCount);
  // Every colour row must be in the block before any grid is made for it, so a lying header
  // cannot make us allocate more than the file could describe.
  const std::size_t used = BlockBytesUsed(image, headerSize);
  if (buffer.size() < kSingleImageBlockOffset + used) Refuse("data cut short", ErrorCode::InputPastEnd);
  // Too much for the file as a whole is the file's failure, not this image's.
  Charge(limits.bytes, used);
  const std::size_t rowsStart = SetPalette(buffer, image, headerSize);
  SizeGrids(image);
  UnpackXorRows(buffer, rowsStart, image);
  const bool carriesAlpha = image.BitDepth == 32 && RowsCarryAlpha(buffer, rowsStart, image);
  const bool keep = carriesAlpha && KeepAlpha();
  const std::size_t maskStart =
      rowsStart + XorRowBytes(image.Width, image.BitDepth) * static_cast<std::size_t>(image.Height());
  const std::size_t andLimit = AndRowsLimit(buffer, headerSize, maskStart);
  if (andLimit - maskStart >= AndRowBytes(image.Width) * static_cast<std::size_t>(image.Height())) {
    DrawMask(buffer, maskStart, image);
    // Where alpha is shown, the AND bits are not: nothing inverts the screen.
    if (!keep) MarkInvertingPixels(image);
  } else if (image.BitDepth == 32) {
    // Some writers leave the AND rows out of 32-bit images and rely on the alpha bytes alone.
    MaskFromAlpha(buffer, rowsStart, image, keep);
  }
  // Any other image without its AND rows stays opaque, as its grid was made.
  if (carriesAlpha) ApplyAlpha(buffer, rowsStart, image, keep);
}

// A side as a placeholder shows it: the value when it is a sensible one, else fallback.
int PlaceholderSide(std::int64_t value, int fallback) {
  constexpr int kLargestPlaceholder = 1024;
  return value >= 1 && value <= kLargestPlaceholder ? static_cast<int>(value) : fallback;
}

// The entry of buffer kept as it is, with its size and bit count as far as its header or
// PNG header tells (else its directory entry).
IconImage KeptImage(ByteView buffer, const Unreadable& unreadable) {
  auto kept = std::make_shared<KeptEntry>();
  constexpr std::size_t kEntryStart = kFileHeaderSize;
  for (std::size_t i = 0; i < kept->directory.size(); ++i) {
    kept->directory[i] = kEntryStart + i < buffer.size() ? buffer[kEntryStart + i] : 0;
  }
  if (buffer.size() > kSingleImageBlockOffset) {
    kept->block.assign(buffer.begin() + kSingleImageBlockOffset, buffer.end());
  }
  const ByteView block(kept->block);
  int width = kept->directory[0] == 0 ? 256 : kept->directory[0];
  int height = kept->directory[1] == 0 ? 256 : kept->directory[1];
  if (IsPng(block)) {
    kept->bitCount = 32;
    if (const auto size = PngSize(block)) {
      width = PlaceholderSide(size->first, width);
      height = PlaceholderSide(size->second, height);
    }
  } else if (block.size() >= 16) {
    const std::uint32_t headerSize = GetLength(block, 0);
    if (headerSize == 12) {
      // The old OS/2 header: 16-bit width and height, bit count at 10.
      width = PlaceholderSide(static_cast<std::int16_t>(block[4] | block[5] << 8), width);
      height = PlaceholderSide(static_cast<std::int16_t>(block[6] | block[7] << 8) / 2, height);
      kept->bitCount = block[10] | block[11] << 8;
    } else if (headerSize >= 16) {
      width = PlaceholderSide(static_cast<std::int32_t>(GetLength(block, 4)), width);
      height = PlaceholderSide(static_cast<std::int32_t>(GetLength(block, 8)) / 2, height);
      kept->bitCount = block[14] | block[15] << 8;
    }
  }
  kept->width = width;
  kept->height = height;
  kept->reason = unreadable.reason;
  kept->errorNumber = unreadable.errorNumber;
  kept->errorText = unreadable.errorText;
  IconImage image;
  image.Kept.entry = std::move(kept);
  return image;
}

}  // namespace

std::string DocumentType(const std::string& path) {
  return AsciiUpper(path.size() >= 3 ? path.substr(path.size() - 3) : path);
}

int FileTypeForPath(const std::string& path) { return DocumentType(path) == "ICO" ? 1 : 2; }

Bytes BuildSingleImageBuffer(ByteView file, std::size_t index) {
  const std::size_t entryStart = kFileHeaderSize + kDirectoryEntrySize * index;
  if (file.size() < entryStart + kDirectoryEntrySize) Raise(ErrorCode::InputPastEnd);
  const std::uint32_t size = GetLength(file, entryStart + 8);
  const std::uint32_t offset = GetLength(file, entryStart + 12);
  // A block that claims more than the file holds is taken as far as it goes (nothing of one
  // that starts past the end); whether that is enough for the image is checked against its
  // own header.
  const std::size_t available = offset > file.size() ? 0 : std::min<std::size_t>(size, file.size() - offset);

  Bytes buffer;
  buffer.reserve(kSingleImageBlockOffset + available);
  buffer.insert(buffer.end(), file.begin(), file.begin() + 4);  // reserved and type
  buffer.insert(buffer.end(), {1, 0});
  buffer.insert(buffer.end(), file.begin() + static_cast<std::ptrdiff_t>(entryStart),
                file.begin() + static_cast<std::ptrdiff_t>(entryStart + 12));
  buffer.insert(buffer.end(), {22, 0, 0, 0});
  if (available > 0) buffer.insert(buffer.end(), file.begin() + offset, file.begin() + offset + available);
  return buffer;
}

BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber,
                          ReadBudget* budget) {
  ReadBudget own{buffer.size(), kPngPixelBudget};
  ReadBudget& limits = budget ? *budget : own;
  const ReadBudget beforeThisEntry = limits;
  try {
    if (IsPngBlock(buffer)) ReadPngBlock(buffer, image, limits);
    else ReadBitmapBlock(buffer, image, imageNumber, limits);
    return BlockResult::Loaded;
  } catch (const Unreadable& unreadable) {
    image = KeptImage(buffer, unreadable);
    // Kept bytes are held in memory too: together with the images they stay within the file.
    // What the failed read charged (a damaged PNG's rows) is given back first: the entry holds
    // only its bytes, and charged twice a file of tightly packed entries would not read again.
    limits = beforeThisEntry;
    try {
      Charge(limits.bytes, image.Kept.entry->block.size());
    } catch (const FileFailure& failure) {
      throw failure.error;
    }
    return BlockResult::Kept;
  } catch (const FileFailure& failure) {
    throw failure.error;
  }
}

void ReplayKeptFailures(const std::vector<IconImage>& images) {
  for (const IconImage& image : images) {
    if (!image.IsKept()) continue;
    const KeptEntry& kept = *image.Kept.entry;
    if (kept.errorNumber == 0) {
      ShowMessage(kApplicationTitle, kept.errorText);
      continue;
    }
    TrapAndPropagate(kTranslateLabel, [&] { throw BackEndError(kept.errorNumber, kept.errorText); });
  }
}

bool HasShownImage(const std::vector<IconImage>& images) {
  return std::any_of(images.begin(), images.end(), [](const IconImage& image) { return !image.IsKept(); });
}

void ReadIconEntries(ByteView file, std::vector<IconImage>& images, ReadBudget* budget) {
  if (file.size() < kFileHeaderSize) Raise(ErrorCode::InputPastEnd);
  const int count = file[4];
  images.clear();
  if (count == 0) return;
  if (file.size() < kFileHeaderSize + kDirectoryEntrySize * static_cast<std::size_t>(count)) {
    Raise(ErrorCode::InputPastEnd);
  }
  ReadBudget own{file.size(), kPngPixelBudget};
  ReadBudget& limits = budget ? *budget : own;
  for (int i = 0; i < count; ++i) {
    const Bytes buffer = BuildSingleImageBuffer(file, static_cast<std::size_t>(i));
    IconImage image;
    TranslateIcon(buffer, image, i + 1, &limits);
    images.push_back(std::move(image));
  }
}

bool ReadIconImages(ByteView file, std::vector<IconImage>& images, ReadBudget* budget) {
  ReadIconEntries(file, images, budget);
  if (HasShownImage(images)) return true;
  // Entries that all fail fail the file, as each of them says.
  const std::vector<IconImage> failed = std::move(images);
  images.clear();
  ReplayKeptFailures(failed);
  return false;
}

Bytes BuildIconFile(const std::vector<IconImage>& images, int fileType) {
  // An .icns entry kept as it is has no place in an icon file.
  if (HasIcnsKeptEntries(images)) return BuildIconFile(WithoutIcnsKeptEntries(images), fileType);
  if (images.size() > kMostIconFileImages) Raise(ErrorCode::Overflow);
  for (const IconImage& image : images) {
    if (image.xHotSpot < 0 || image.xHotSpot > 255 || image.yHotSpot < 0 || image.yHotSpot > 255) {
      Raise(ErrorCode::Overflow);
    }
  }
  Bytes file(kFileHeaderSize + kDirectoryEntrySize * images.size(), 0);
  file[2] = static_cast<std::uint8_t>(fileType);
  file[4] = static_cast<std::uint8_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    const std::size_t entry = kFileHeaderSize + kDirectoryEntrySize * i;
    if (image.IsKept()) {
      // Written back as the file held it: its directory values and its block, unchanged.
      const KeptEntry& kept = *image.Kept.entry;
      std::copy(kept.directory.begin(), kept.directory.end(), file.begin() + static_cast<std::ptrdiff_t>(entry));
      PutMarker(file, entry + 8, static_cast<std::int64_t>(kept.block.size()));
      PutMarker(file, entry + 12, static_cast<std::int64_t>(file.size()));
      file.insert(file.end(), kept.block.begin(), kept.block.end());
      continue;
    }
    const Bytes block = BuildImageData(image, KeepAlpha());
    file[entry + 0] = image.Width < 256 ? static_cast<std::uint8_t>(image.Width) : 0;
    file[entry + 1] = image.Height() < 256 ? static_cast<std::uint8_t>(image.Height()) : 0;
    file[entry + 2] = image.BitDepth == 1 ? 2 : image.BitDepth == 4 ? 16 : 0;
    file[entry + 4] = static_cast<std::uint8_t>(image.xHotSpot);
    file[entry + 6] = static_cast<std::uint8_t>(image.yHotSpot);
    PutMarker(file, entry + 8, static_cast<std::int64_t>(block.size()));
    PutMarker(file, entry + 12, static_cast<std::int64_t>(file.size()));
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

}  // namespace brixel
