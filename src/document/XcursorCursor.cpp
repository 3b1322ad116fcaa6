#include "XcursorCursor.h"

#include <algorithm>
#include <map>
#include <optional>

#include "ErrorReport.h"
#include "IconSet.h"
#include "RgbaPicture.h"
#include "XcursorFile.h"

namespace brixel {

std::int32_t DelayToJiffies(std::uint32_t milliseconds) {
  const std::uint64_t jiffies = (std::uint64_t{milliseconds} * 60 + 500) / 1000;
  return static_cast<std::int32_t>(std::clamp<std::uint64_t>(jiffies, 1, INT32_MAX));
}

IconImage IconImageFromXcursor(const XcursorImageData& image) {
  RgbaPicture picture(image.Width, image.Height);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      const std::uint32_t argb = image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) +
                                              static_cast<std::size_t>(x)];
      const std::uint32_t alpha = argb >> 24;
      // Rounded up, so that premultiplying again (rounding down) gives the file's value back.
      const auto straight = [&](int shift) -> std::uint8_t {
        if (alpha == 0) return 0;
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (((argb >> shift) & 0xFF) * 255 + alpha - 1) / alpha));
      };
      std::uint8_t* p = picture.At(x, y);
      p[0] = straight(16);
      p[1] = straight(8);
      p[2] = straight(0);
      p[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  IconImage result = IconSetImage(picture);
  result.xHotSpot = static_cast<std::int16_t>(image.xHot);
  result.yHotSpot = static_cast<std::int16_t>(image.yHot);
  return result;
}

XcursorAsCursor CursorFromXcursor(const std::vector<XcursorImageData>& images) {
  if (images.size() > static_cast<std::size_t>(INT16_MAX)) Raise(ErrorCode::Overflow);
  // The steps of each nominal size, the sizes in the order of their first image.
  std::vector<std::uint32_t> sizes;
  std::map<std::uint32_t, std::vector<const XcursorImageData*>> steps;
  for (const XcursorImageData& image : images) {
    auto& own = steps[image.NominalSize];
    if (own.empty()) sizes.push_back(image.NominalSize);
    own.push_back(&image);
  }
  std::size_t frames = 0;
  for (const auto& [size, own] : steps) frames = std::max(frames, own.size());

  XcursorAsCursor cursor;
  cursor.Frames.resize(frames);
  bool delaysDiffer = false;
  for (std::size_t frame = 0; frame < frames; ++frame) {
    std::optional<std::uint32_t> delay;
    for (const std::uint32_t size : sizes) {
      const auto& own = steps[size];
      if (frame >= own.size()) continue;
      cursor.Frames[frame].push_back(IconImageFromXcursor(*own[frame]));
      if (delay && *delay != own[frame]->Delay) delaysDiffer = true;
      if (!delay) delay = own[frame]->Delay;
    }
    if (frames > 1) cursor.Rates.push_back(DelayToJiffies(*delay));
  }

  if (delaysDiffer) cursor.Notes.push_back("the sizes give a step different delays: the first size's are kept");
  for (const std::uint32_t size : sizes) {
    const auto& own = steps[size];
    if (own.size() < frames) {
      cursor.Notes.push_back("nominal size " + std::to_string(size) + " has " + std::to_string(own.size()) +
                             " of the " + std::to_string(frames) + " steps: it is in the first frames only");
    }
    const auto other = std::find_if(own.begin(), own.end(), [size](const XcursorImageData* image) {
      return static_cast<std::uint32_t>(image->Width) != size;
    });
    if (other != own.end()) {
      cursor.Notes.push_back("nominal size " + std::to_string(size) + " holds a " + std::to_string((*other)->Width) +
                             " x " + std::to_string((*other)->Height) +
                             " image: it keeps its pixels, and an Xcursor file written from it gives it its width as its size");
    }
  }
  return cursor;
}

std::unique_ptr<cAni> AnimatedCursorDocument(const XcursorAsCursor& cursor) {
  auto document = std::make_unique<cAni>();
  if (cursor.Rates.empty()) document->DisplayRate(kDefaultAniRate);
  else document->DisplayRate(cursor.Rates.front());
  for (const std::vector<IconImage>& frame : cursor.Frames) document->AppendFrame(frame);
  const bool oneRate = std::all_of(cursor.Rates.begin(), cursor.Rates.end(),
                                   [&](std::int32_t rate) { return rate == cursor.Rates.front(); });
  if (!oneRate) document->Rates(cursor.Rates);
  return document;
}

std::unique_ptr<cIco> StillCursorDocument(const XcursorAsCursor& cursor) {
  auto document = std::make_unique<cIco>();
  for (const std::vector<IconImage>& frame : cursor.Frames) {
    for (const IconImage& image : frame) document->AppendImage(image);
  }
  return document;
}

std::string WindowsCursorPath(const std::string& path, bool animated) {
  const std::string extension = animated ? ".ani" : ".cur";
  if (IsXcursorPath(path)) return path.substr(0, path.size() - std::string(".xcursor").size()) + extension;
  return path + extension;
}

}  // namespace brixel
