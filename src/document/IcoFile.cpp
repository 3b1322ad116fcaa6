#include "IcoFile.h"

#include <algorithm>
#include <memory>

#include "AlphaChannel.h"
#include "AsciiText.h"
#include "ByteOrder.h"
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
// The best deflate can do: one compressed byte for 1032 decompressed ones.
constexpr std::uint64_t kDeflateRatio = 1032;

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

void Charge(std::size_t& available, std::uint64_t amount) {
  if (amount > available) Raise(ErrorCode::InputPastEnd);
  available -= static_cast<std::size_t>(amount);
}

// A PNG-compressed block: a 32-bit image of the PNG's size, each pixel read as ReadPngPixel
// says; with the option on the alpha is kept, and so is the entry, to be written back as is.
void ReadPngBlock(ByteView buffer, IconImage& image, ReadBudget& budget) {
  image.xHotSpot = buffer[10];
  image.yHotSpot = buffer[12];
  const ByteView png = buffer.subspan(kSingleImageBlockOffset);
  PngPicture picture = DecodePng(png, [&](const PngHeader& header) {
    ToInt16(header.width);
    ToInt16(2LL * header.height);
    // A header claiming more rows than its data could hold is refused before any is read.
    const std::uint64_t least = (header.rawBytes + kDeflateRatio - 1) / kDeflateRatio;
    if (least > png.size()) Raise(ErrorCode::InputPastEnd);
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
    if (pixels > budget.pngPixels) {
      throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                         "Invalid picture (PNG images of more than " +
                             std::to_string(kPngPixelBudget) + " pixels in one file)");
    }
    Charge(budget.bytes, least);
    budget.pngPixels -= static_cast<std::size_t>(pixels);
  });
  image.Width = ToInt16(picture.width);
  image.DibHeight = ToInt16(2LL * picture.height);
  image.BitDepth = 32;
  image.Palette.assign(256, kBlack);
  GetNewPalette(image.Palette);
  SizeGrids(image);
  const bool keep = KeepAlpha();
  if (keep) image.Alpha = Grid(image.Width, image.Height(), 0);
  const std::uint8_t* p = picture.rgba.data();
  for (int y = 0; y < image.Height(); ++y) {
    std::int32_t* pixels = image.Pixels.Row(y);
    std::int32_t* mask = image.Mask.Row(y);
    std::int32_t* alphas = keep ? image.Alpha.Row(y) : nullptr;
    for (int x = 0; x < image.Width; ++x, p += 4) {
      const PngPixel read = ReadPngPixel(p, keep);
      pixels[x] = read.colour;
      mask[x] = read.mask;
      if (alphas) alphas[x] = p[3];
    }
  }
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
  if (offset > file.size()) Raise(ErrorCode::InputPastEnd);
  // A block that claims more than the file holds is taken as far as it goes; whether that
  // is enough for the image is checked against its own header.
  const std::size_t available = std::min<std::size_t>(size, file.size() - offset);

  Bytes buffer;
  buffer.reserve(kSingleImageBlockOffset + available);
  buffer.insert(buffer.end(), file.begin(), file.begin() + 4);  // reserved and type
  buffer.insert(buffer.end(), {1, 0});
  buffer.insert(buffer.end(), file.begin() + static_cast<std::ptrdiff_t>(entryStart),
                file.begin() + static_cast<std::ptrdiff_t>(entryStart + 12));
  buffer.insert(buffer.end(), {22, 0, 0, 0});
  buffer.insert(buffer.end(), file.begin() + offset, file.begin() + offset + available);
  return buffer;
}

BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber,
                          ReadBudget* budget) {
  ReadBudget own{buffer.size(), kPngPixelBudget};
  ReadBudget& limits = budget ? *budget : own;
  if (IsPngBlock(buffer)) {
    TrapAndPropagate(kTranslateLabel, [&] { ReadPngBlock(buffer, image, limits); });
    return BlockResult::Loaded;
  }
  enum class Refusal { None, HeaderSize, Depth } refusal = Refusal::None;
  std::uint32_t headerSize = 0;
  std::size_t used = 0;
  TrapAndPropagate(kTranslateLabel, [&] {
    headerSize = GetLength(buffer, kSingleImageBlockOffset);
    if (!IsKnownHeaderSize(headerSize)) {
      refusal = Refusal::HeaderSize;
      return;
    }
    if (buffer.size() < kSingleImageBlockOffset + headerSize) Raise(ErrorCode::InputPastEnd);
    image.xHotSpot = buffer[10];
    image.yHotSpot = buffer[12];
    image.Width = ToInt16(static_cast<std::int32_t>(GetLength(buffer, 26)));
    image.DibHeight = ToInt16(static_cast<std::int32_t>(GetLength(buffer, 30)));
    image.BitDepth = static_cast<std::int16_t>(buffer[36] + 256 * buffer[37]);
    if (!IsSupportedDepth(image.BitDepth)) {
      refusal = Refusal::Depth;
      return;
    }
    if (image.Width < 1 || image.Height() < 1) Raise(ErrorCode::InvalidArgument);
    // Every colour row must be in the block before any grid is made for it, so a lying
    // header cannot make us allocate more than the file could describe.
    used = BlockBytesUsed(image, headerSize);
    if (buffer.size() < kSingleImageBlockOffset + used) Raise(ErrorCode::InputPastEnd);
  });
  if (refusal == Refusal::HeaderSize) {
    ShowMessage(kApplicationTitle, "Image " + std::to_string(imageNumber) +
                                       " has a bitmap header of " + std::to_string(headerSize) +
                                       " bytes; only headers of 40, 108 and 124 bytes are "
                                       "supported");
    return BlockResult::LeftOut;
  }
  if (refusal == Refusal::Depth) {
    ShowMessage(kApplicationTitle,
                std::to_string(image.BitDepth) + " bit icons are not currently supported");
    return BlockResult::LeftOut;
  }
  // Too much for the file as a whole is the caller's failure, not this image's.
  Charge(limits.bytes, used);
  const std::size_t rowsStart = SetPalette(buffer, image, headerSize);
  SizeGrids(image);
  UnpackXorRows(buffer, rowsStart, image);
  const bool carriesAlpha = image.BitDepth == 32 && RowsCarryAlpha(buffer, rowsStart, image);
  const bool keep = carriesAlpha && KeepAlpha();
  const std::size_t maskStart =
      rowsStart + XorRowBytes(image.Width, image.BitDepth) * static_cast<std::size_t>(image.Height());
  std::size_t andLimit = buffer.size();
  TrapAndPropagate(kTranslateLabel, [&] { andLimit = AndRowsLimit(buffer, headerSize, maskStart); });
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
  return BlockResult::Loaded;
}

bool ReadIconImages(ByteView file, std::vector<IconImage>& images, ReadBudget* budget) {
  if (file.size() < kFileHeaderSize) Raise(ErrorCode::InputPastEnd);
  const int count = file[4];
  images.clear();
  if (count == 0) return false;
  if (file.size() < kFileHeaderSize + kDirectoryEntrySize * static_cast<std::size_t>(count)) {
    Raise(ErrorCode::InputPastEnd);
  }
  ReadBudget own{file.size(), kPngPixelBudget};
  ReadBudget& limits = budget ? *budget : own;
  for (int i = 0; i < count; ++i) {
    const Bytes buffer = BuildSingleImageBuffer(file, static_cast<std::size_t>(i));
    IconImage image;
    if (TranslateIcon(buffer, image, i + 1, &limits) == BlockResult::LeftOut) continue;
    images.push_back(std::move(image));
  }
  return !images.empty();
}

Bytes BuildIconFile(const std::vector<IconImage>& images, int fileType) {
  if (images.size() > 255) Raise(ErrorCode::Overflow);
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
    const Bytes block = BuildImageData(image, KeepAlpha());
    const std::size_t entry = kFileHeaderSize + kDirectoryEntrySize * i;
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
