#include "IcoFile.h"

#include <algorithm>

#include "AsciiText.h"
#include "ByteOrder.h"
#include "Numeric.h"
#include "Prompter.h"
#include "RowTranslation.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPngBlock(ByteView buffer) {
  return buffer.size() >= kSingleImageBlockOffset + 8 &&
         std::equal(kPngSignature, kPngSignature + 8, buffer.begin() + kSingleImageBlockOffset);
}

// Bytes of its block that an image's header, colour table and colour rows take.
std::size_t BlockBytesUsed(const IconImage& image) {
  return kBitmapHeaderSize + ColourTableBytes(image.BitDepth) +
         XorRowBytes(image.Width, image.BitDepth) * static_cast<std::size_t>(image.Height());
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

BlockResult TranslateIcon(ByteView buffer, IconImage& image, int imageNumber) {
  if (IsPngBlock(buffer)) {
    ShowMessage(kApplicationTitle, "Image " + std::to_string(imageNumber) +
                                       " is PNG-compressed; PNG-compressed icons are not "
                                       "currently supported");
    return BlockResult::LeftOut;
  }
  bool supported = true;
  std::size_t rowsStart = 0;
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslateIcon", [&] {
    if (buffer.size() < kSingleImageBlockOffset + kBitmapHeaderSize) Raise(ErrorCode::InputPastEnd);
    image.xHotSpot = buffer[10];
    image.yHotSpot = buffer[12];
    image.Width = ToInt16(static_cast<std::int32_t>(GetLength(buffer, 26)));
    image.DibHeight = ToInt16(static_cast<std::int32_t>(GetLength(buffer, 30)));
    image.BitDepth = static_cast<std::int16_t>(buffer[36] + 256 * buffer[37]);
    if (!IsSupportedDepth(image.BitDepth)) {
      supported = false;
      return;
    }
    if (image.Width < 1 || image.Height() < 1) Raise(ErrorCode::InvalidArgument);
    // Every colour row must be in the block before any grid is made for it, so a lying
    // header cannot make us allocate more than the file could describe.
    if (buffer.size() < kSingleImageBlockOffset + BlockBytesUsed(image)) {
      Raise(ErrorCode::InputPastEnd);
    }
  });
  if (!supported) {
    ShowMessage(kApplicationTitle,
                std::to_string(image.BitDepth) + " bit icons are not currently supported");
    return BlockResult::LeftOut;
  }
  rowsStart = SetPalette(buffer, image);
  SizeGrids(image);
  UnpackXorRows(buffer, rowsStart, image);
  const std::size_t maskStart =
      rowsStart + XorRowBytes(image.Width, image.BitDepth) * static_cast<std::size_t>(image.Height());
  if (buffer.size() - maskStart >= AndRowBytes(image.Width) * static_cast<std::size_t>(image.Height())) {
    DrawMask(buffer, maskStart, image);
    MarkInvertingPixels(image);
  } else if (image.BitDepth == 32) {
    // Some writers leave the AND rows out of 32-bit images and rely on the alpha bytes alone.
    MaskFromAlpha(buffer, rowsStart, image);
  }
  // Any other image without its AND rows stays opaque, as its grid was made.
  return BlockResult::Loaded;
}

bool ReadIconImages(ByteView file, std::vector<IconImage>& images) {
  if (file.size() < kFileHeaderSize) Raise(ErrorCode::InputPastEnd);
  const int count = file[4];
  images.clear();
  if (count == 0) return false;
  if (file.size() < kFileHeaderSize + kDirectoryEntrySize * static_cast<std::size_t>(count)) {
    Raise(ErrorCode::InputPastEnd);
  }
  // Entries may point at the same block. Together the images must not take more bytes than
  // the file holds, or a few hundred entries sharing one large block would make the grids
  // thousands of times the size of the file.
  std::size_t used = 0;
  for (int i = 0; i < count; ++i) {
    const Bytes buffer = BuildSingleImageBuffer(file, static_cast<std::size_t>(i));
    IconImage image;
    if (TranslateIcon(buffer, image, i + 1) == BlockResult::LeftOut) continue;
    used += BlockBytesUsed(image);
    if (used > file.size()) Raise(ErrorCode::InputPastEnd);
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
  Bytes file = {0, 0, static_cast<std::uint8_t>(fileType), 0, static_cast<std::uint8_t>(images.size()), 0};
  file.resize(kFileHeaderSize + kDirectoryEntrySize * images.size(), 0);
  for (std::size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    const Bytes block = BuildImageData(image);
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
