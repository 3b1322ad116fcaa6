#include "PictureTransfer.h"

#include "ByteOrder.h"

namespace brixel {
namespace {

constexpr std::size_t kHeaderBytes = 9;

}  // namespace

void AppendPicture(const LoadedPicture& picture, Bytes& out) {
  const std::size_t pixels = picture.Colours.Pixels.size();
  out.reserve(out.size() + kHeaderBytes + pixels * 4 + picture.Alpha.size());
  AppendLength(out, static_cast<std::uint32_t>(picture.Width()));
  AppendLength(out, static_cast<std::uint32_t>(picture.Height()));
  out.push_back(picture.HasAlpha() ? 1 : 0);
  for (const std::int32_t colour : picture.Colours.Pixels) AppendLength(out, static_cast<std::uint32_t>(colour));
  out.insert(out.end(), picture.Alpha.begin(), picture.Alpha.end());
}

bool ReadPictures(ByteView bytes, std::vector<LoadedPicture>& pictures) {
  pictures.clear();
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < kHeaderBytes) return false;
    const std::uint32_t width = GetLength(bytes, at);
    const std::uint32_t height = GetLength(bytes, at + 4);
    const std::uint8_t alpha = bytes[at + 8];
    at += kHeaderBytes;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide || alpha > 1) {
      return false;
    }
    const std::size_t pixels = std::size_t{width} * height;
    if ((bytes.size() - at) / 4 < pixels || bytes.size() - at - pixels * 4 < (alpha ? pixels : 0)) {
      return false;
    }
    LoadedPicture picture;
    picture.Colours = Bitmap(static_cast<int>(width), static_cast<int>(height), 0);
    for (std::int32_t& colour : picture.Colours.Pixels) {
      colour = static_cast<std::int32_t>(GetLength(bytes, at));
      at += 4;
    }
    if (alpha) {
      picture.Alpha.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + pixels));
      at += pixels;
    }
    pictures.push_back(std::move(picture));
  }
  return true;
}

void AppendDrawingSize(int width, int height, Bytes& out) {
  AppendLength(out, static_cast<std::uint32_t>(width));
  AppendLength(out, static_cast<std::uint32_t>(height));
}

bool ReadDrawingAnswer(ByteView bytes, int& width, int& height, std::vector<LoadedPicture>& pictures) {
  if (bytes.size() < 8) return false;
  const std::uint32_t w = GetLength(bytes, 0);
  const std::uint32_t h = GetLength(bytes, 4);
  if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return ReadPictures(bytes.subspan(8), pictures);
}

}  // namespace brixel
