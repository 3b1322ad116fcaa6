#include "XcursorFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "AlphaChannel.h"
#include "AsciiText.h"
#include "ByteOrder.h"
#include "Colour.h"
#include "ErrorReport.h"
#include "XcursorFormat.h"

namespace brixel {
using namespace xcursor;

std::uint32_t XcursorArgb(const IconImage& image, int x, int y) {
  if (image.Pixels.At(x, y) < 0) return 0;
  const auto alpha = static_cast<std::uint32_t>(WrittenAlphaAt(image, x, y)) & 0xFF;
  const auto colour = static_cast<std::uint32_t>(image.Pixels.At(x, y));
  auto premultiplied = [&](int shift) { return ((colour >> shift) & 0xFF) * alpha / 255; };
  return alpha << 24 | premultiplied(0) << 16 | premultiplied(8) << 8 | premultiplied(16);
}

Bytes BuildXcursorFile(const std::vector<IconImage>& images, const AniInfo* animation) {
  if (images.empty()) Raise(ErrorCode::InvalidArgument);
  // Without an animation the images are one frame shown once.
  std::vector<std::size_t> firsts{0, images.size()};
  std::vector<AniStep> steps{{0, 0}};
  if (animation) {
    firsts = AniFrameStarts(*animation, images.size());
    steps = AniSteps(*animation, images.size());
  }

  // The images in the order they are shown, each frame's images once for every step.
  std::vector<std::pair<const IconImage*, std::uint32_t>> shown;  // image, delay
  std::uint64_t fileBytes = kFileHeaderBytes;
  for (const AniStep& step : steps) {
    const auto frame = static_cast<std::size_t>(step.Frame);
    for (std::size_t i = firsts[frame]; i < firsts[frame + 1]; ++i) {
      if (images[i].IsKept()) continue;  // no pixels to write
      shown.emplace_back(&images[i], animation ? static_cast<std::uint32_t>(JiffiesToMilliseconds(step.Rate)) : 0);
      fileBytes += kTocEntryBytes + kImageHeaderBytes +
                   4 * static_cast<std::uint64_t>(images[i].Width) * static_cast<std::uint64_t>(images[i].Height());
    }
  }
  if (shown.empty()) Raise(ErrorCode::InvalidArgument);
  if (fileBytes > UINT32_MAX) Raise(ErrorCode::Overflow);

  Bytes out;
  out.reserve(static_cast<std::size_t>(fileBytes));
  const auto count = static_cast<std::uint32_t>(shown.size());
  for (const std::uint32_t value : {kMagic, kFileHeaderBytes, kFileVersion, count}) AppendLength(out, value);
  auto position = static_cast<std::uint32_t>(kFileHeaderBytes + kTocEntryBytes * shown.size());
  for (const auto& [image, delay] : shown) {
    AppendLength(out, kImageType);
    AppendLength(out, static_cast<std::uint32_t>(image->Width));
    AppendLength(out, position);
    position += kImageHeaderBytes +
                4 * static_cast<std::uint32_t>(image->Width) * static_cast<std::uint32_t>(image->Height());
  }
  for (const auto& [image, delay] : shown) {
    const auto width = static_cast<std::uint32_t>(image->Width);
    const auto height = static_cast<std::uint32_t>(image->Height());
    // Xcursor refuses a hot spot outside the image; icon frames carry none of their own.
    const auto xhot = static_cast<std::uint32_t>(std::clamp<int>(image->xHotSpot, 0, image->Width - 1));
    const auto yhot = static_cast<std::uint32_t>(std::clamp<int>(image->yHotSpot, 0, image->Height() - 1));
    for (const std::uint32_t value :
         {kImageHeaderBytes, kImageType, width, kImageVersion, width, height, xhot, yhot, delay}) {
      AppendLength(out, value);
    }
    for (int y = 0; y < image->Height(); ++y) {
      for (int x = 0; x < image->Width; ++x) AppendLength(out, XcursorArgb(*image, x, y));
    }
  }
  return out;
}

bool IsXcursorPath(const std::string& path) {
  constexpr std::string_view kExtension = ".XCURSOR";
  return path.size() > kExtension.size() && AsciiUpper(path.substr(path.size() - kExtension.size())) == kExtension;
}

}  // namespace brixel
