#include "XcursorReader.h"


#include "ByteOrder.h"
#include "ErrorReport.h"
#include "XcursorFormat.h"

namespace brixel {
namespace {

using namespace xcursor;

[[noreturn]] void Refuse(ErrorCode code, const std::string& why) {
  throw BackEndError(static_cast<int>(code), "Xcursor file: " + why);
}

std::string Entry(std::uint32_t index) { return "table entry " + std::to_string(index); }

// The image chunk that table entry index points at.
XcursorImageData ReadImageChunk(ByteView file, std::uint32_t index, std::uint32_t subtype, std::uint32_t position,
                            std::uint64_t& pixelBudget) {
  if (std::uint64_t{position} + kImageHeaderBytes > file.size()) {
    Refuse(ErrorCode::InputPastEnd, Entry(index) + ": its image header runs past the end of the file");
  }
  if (GetLength(file, position + 4) != kImageType || GetLength(file, position + 8) != subtype) {
    Refuse(ErrorCode::InvalidPicture, Entry(index) + ": the chunk it points at is not the image it names");
  }
  const std::uint32_t width = GetLength(file, position + 16);
  const std::uint32_t height = GetLength(file, position + 20);
  const std::uint32_t xHot = GetLength(file, position + 24);
  const std::uint32_t yHot = GetLength(file, position + 28);
  if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
    Refuse(ErrorCode::InvalidPicture, Entry(index) + ": an image of " + std::to_string(width) + " x " +
                                          std::to_string(height) + " pixels");
  }
  if (xHot > width || yHot > height) {
    Refuse(ErrorCode::InvalidPicture, Entry(index) + ": its hot spot lies outside the image");
  }
  const std::uint64_t pixelBytes = 4 * std::uint64_t{width} * height;
  const std::uint64_t start = std::uint64_t{position} + kImageHeaderBytes;
  if (start + pixelBytes > file.size()) {
    Refuse(ErrorCode::InputPastEnd, Entry(index) + ": its pixels run past the end of the file");
  }
  if (pixelBytes > pixelBudget) {
    Refuse(ErrorCode::InvalidPicture, Entry(index) + ": the images claim more pixels than the file holds");
  }
  pixelBudget -= pixelBytes;

  XcursorImageData image;
  image.NominalSize = subtype;
  image.Width = static_cast<int>(width);
  image.Height = static_cast<int>(height);
  image.xHot = static_cast<int>(xHot);
  image.yHot = static_cast<int>(yHot);
  image.Delay = GetLength(file, position + 32);
  image.Pixels.resize(static_cast<std::size_t>(pixelBytes / 4));
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    image.Pixels[i] = GetLength(file, static_cast<std::size_t>(start) + 4 * i);
  }
  return image;
}

}  // namespace

bool IsXcursorFile(ByteView file) { return file.size() >= 4 && GetLength(file, 0) == kMagic; }

bool IsXcursorFileAt(const std::string& path) { return IsXcursorFile(ReadFileStart(path, 4)); }

std::vector<XcursorImageData> ReadXcursorFile(ByteView file) {
  if (!IsXcursorFile(file)) Refuse(ErrorCode::InvalidPicture, "it does not start with \"Xcur\"");
  if (file.size() < kFileHeaderBytes) Refuse(ErrorCode::InputPastEnd, "its header is cut short");
  const std::uint32_t headerBytes = GetLength(file, 4);
  const std::uint32_t count = GetLength(file, 12);
  if (headerBytes < kFileHeaderBytes) Refuse(ErrorCode::InvalidPicture, "its header is too short");
  if (count > kMaxTocEntries) {
    Refuse(ErrorCode::InvalidPicture, "its table claims " + std::to_string(count) + " entries");
  }
  if (std::uint64_t{headerBytes} + std::uint64_t{kTocEntryBytes} * count > file.size()) {
    Refuse(ErrorCode::InputPastEnd, "its table runs past the end of the file");
  }
  std::uint64_t pixelBudget = file.size();
  std::vector<XcursorImageData> images;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = headerBytes + std::size_t{kTocEntryBytes} * i;
    if (GetLength(file, entry) != kImageType) continue;
    images.push_back(ReadImageChunk(file, i, GetLength(file, entry + 4), GetLength(file, entry + 8), pixelBudget));
  }
  if (images.empty()) Refuse(ErrorCode::InvalidPicture, "it holds no image");
  return images;
}

}  // namespace brixel
