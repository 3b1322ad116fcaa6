#include "ClipTransfer.h"

#include <algorithm>
#include <unordered_map>

#include "Palette.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

struct Rect {
  int left;
  int top;
  int right;
  int bottom;
  bool Empty() const { return left > right || top > bottom; }
};

Rect Clamp(const IconImage& image, int x1, int y1, int x2, int y2) {
  Rect r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, image.Width - 1);
  r.bottom = std::min(r.bottom, image.Height() - 1);
  return r;
}

// The picture part of both grids must be there before pixels are addressed directly.
void CheckGrids(const IconImage& image) {
  if (!GridsCoverPicture(image)) Raise(ErrorCode::SubscriptOutOfRange);
}

}  // namespace

ClipRegion::ClipRegion(int width, int height)
    : Colours(width, height, kBlack),
      Masks(Colours.Pixels.size(), MaskOpaque),
      Alpha(Colours.Pixels.size(), 255) {}

void ClipRegion::Set(int x, int y, Colour colour, std::int32_t mask, std::uint8_t alpha) {
  Colours.At(x, y) = colour;
  Masks[Index(x, y)] = mask;
  Alpha[Index(x, y)] = alpha;
}

ClipRegion CopyRegion(const ImageDocument& document, std::int16_t image, int x1, int y1, int x2,
                      int y2) {
  ClipRegion clip;
  Trap("PrjBackEnd.mClipTransfer.CopyRegion", [&] {
    const IconImage& source = document.Image(image);
    CheckGrids(source);
    const Rect r = Clamp(source, x1, y1, x2, y2);
    if (r.Empty()) return;
    clip = ClipRegion(r.right - r.left + 1, r.bottom - r.top + 1);
    for (int y = r.top; y <= r.bottom; ++y) {
      for (int x = r.left; x <= r.right; ++x) {
        clip.Set(x - r.left, y - r.top, source.Pixels.At(x, y), source.Mask.At(x, y),
                 static_cast<std::uint8_t>(AlphaAt(source, x, y)));
      }
    }
  });
  return clip;
}

bool PasteRegion(ImageDocument& document, std::int16_t image, const ClipRegion& clip, int x,
                 int y) {
  bool changed = false;
  Trap("PrjBackEnd.mClipTransfer.PasteRegion", [&] {
    IconImage& target = document.Image(image);
    CheckGrids(target);
    const std::size_t count = static_cast<std::size_t>(clip.Width()) * static_cast<std::size_t>(clip.Height());
    if (clip.Empty() || clip.Colours.Pixels.size() < count || clip.Masks.size() < count ||
        clip.Alpha.size() < count) {
      return;
    }
    const bool paletted = target.BitDepth < 24 && !target.Palette.empty();
    const bool keepsAlpha = target.CarriesAlpha();
    std::unordered_map<Colour, Colour> painted;  // clip colour -> palette colour
    const auto paint = [&](Colour colour) {
      if (!paletted) return colour;
      const auto found = painted.find(colour);
      if (found != painted.end()) return found->second;
      const Colour entry = target.Palette[static_cast<std::size_t>(NearestPaletteEntry(target.Palette, colour))];
      painted.emplace(colour, entry);
      return entry;
    };
    // Only the part of the clip that lands inside the picture; 64-bit sums keep far-off
    // positions from wrapping.
    const long long firstX = std::max<long long>(0, -static_cast<long long>(x));
    const long long firstY = std::max<long long>(0, -static_cast<long long>(y));
    const long long endX = std::min<long long>(clip.Width(), static_cast<long long>(target.Width) - x);
    const long long endY = std::min<long long>(clip.Height(), static_cast<long long>(target.Height()) - y);
    for (long long cy = firstY; cy < endY; ++cy) {
      for (long long cx = firstX; cx < endX; ++cx) {
        const std::size_t at = clip.Index(static_cast<int>(cx), static_cast<int>(cy));
        const int px = static_cast<int>(x + cx);
        const int py = static_cast<int>(y + cy);
        Colour colour = clip.Colours.Pixels[at];
        std::int32_t mask = clip.Masks[at];
        const std::uint8_t alpha = clip.Alpha[at];
        // Without alpha a pixel is either there or not: below half opaque it is not.
        if (!keepsAlpha && mask == MaskOpaque && alpha < 128) {
          colour = kBlack;
          mask = MaskTransparent;
        }
        const Colour written = mask == MaskOpaque ? paint(colour) : colour;
        const int shown = keepsAlpha ? alpha : mask == MaskOpaque ? 255 : 0;
        changed = changed || target.Pixels.At(px, py) != written ||
                  target.Mask.At(px, py) != mask || AlphaAt(target, px, py) != shown;
        target.Pixels.At(px, py) = written;
        SetMask(target, px, py, mask);
        if (keepsAlpha) target.Alpha.At(px, py) = alpha;
      }
    }
  });
  return changed;
}

void ClearRegion(ImageDocument& document, std::int16_t image, int x1, int y1, int x2, int y2) {
  Trap("PrjBackEnd.mClipTransfer.ClearRegion", [&] {
    IconImage& target = document.Image(image);
    CheckGrids(target);
    const Rect r = Clamp(target, x1, y1, x2, y2);
    for (int y = r.top; y <= r.bottom; ++y) {
      for (int x = r.left; x <= r.right; ++x) {
        target.Pixels.At(x, y) = kBlack;
        SetMask(target, x, y, MaskTransparent);
      }
    }
  });
}

}  // namespace brixel
