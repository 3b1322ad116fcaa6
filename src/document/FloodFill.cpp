#include "FloodFill.h"

#include <vector>

#include "PaintColour.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kFillRegionLabel = "PrjBackEnd.mFloodFill.FillRegion";

struct Seed {
  int x;
  int y;
};

// Scan-line fill over the picture (padding columns excluded) with an explicit stack of span
// seeds, so the depth of the region costs heap, not call stack. inRegion tells a pixel of the
// region, paint sets one; with marked, filled pixels are marked, for paints that may leave a
// pixel looking as it did.
template <class InRegion, class Paint>
class RegionFill {
 public:
  RegionFill(int width, int height, bool diagonal, bool marked, InRegion inRegion, Paint paint)
      : width_(width), height_(height), diagonal_(diagonal), inRegion_(inRegion), paint_(paint) {
    if (marked) marks_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  }

  void Run(int x, int y) {
    stack_.push_back({x, y});
    while (!stack_.empty()) {
      const Seed seed = stack_.back();
      stack_.pop_back();
      if (!Fillable(seed.x, seed.y)) continue;
      int left = seed.x;
      while (left > 0 && Fillable(left - 1, seed.y)) --left;
      int right = seed.x;
      while (right + 1 < width_ && Fillable(right + 1, seed.y)) ++right;
      for (int i = left; i <= right; ++i) Set(i, seed.y);
      const int from = diagonal_ ? left - 1 : left;
      const int to = diagonal_ ? right + 1 : right;
      PushRuns(from, to, seed.y + 1);
      PushRuns(from, to, seed.y - 1);
    }
  }

 private:
  bool Fillable(int x, int y) const {
    return inRegion_(x, y) && (marks_.empty() || marks_[Index(x, y)] == 0);
  }

  void Set(int x, int y) {
    paint_(x, y);
    if (!marks_.empty()) marks_[Index(x, y)] = 1;
  }

  // One seed for every run of fillable pixels of row y between columns from and to.
  void PushRuns(int from, int to, int y) {
    if (y < 0 || y >= height_) return;
    if (from < 0) from = 0;
    if (to >= width_) to = width_ - 1;
    bool inRun = false;
    for (int x = from; x <= to; ++x) {
      const bool fillable = Fillable(x, y);
      if (fillable && !inRun) stack_.push_back({x, y});
      inRun = fillable;
    }
  }

  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  const int width_;
  const int height_;
  const bool diagonal_;
  InRegion inRegion_;
  Paint paint_;
  std::vector<std::uint8_t> marks_;
  std::vector<Seed> stack_;
};

template <class InRegion, class Paint>
void Fill(int width, int height, int x, int y, bool diagonal, bool marked, InRegion inRegion,
          Paint paint) {
  RegionFill<InRegion, Paint>(width, height, diagonal, marked, inRegion, paint).Run(x, y);
}

}  // namespace

void FillRegion(ImageDocument& document, std::int16_t imageIndex, int x, int y, Colour fill,
                bool erase, bool diagonal) {
  Trap(kFillRegionLabel, [&] {
    IconImage& image = document.Image(imageIndex);
    const int width = image.Width;
    const int height = image.Height();
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    if (!GridsCoverPicture(image)) Raise(ErrorCode::SubscriptOutOfRange);
    const Colour region = image.Pixels.At(x, y);
    if (region == fill || region == kNoColour) return;
    // A white fill of colour 0 is what a flood erase of an already empty region looks like.
    if (fill == kWhite && region == kBlack) return;
    const Colour paint = erase ? kBlack : fill;
    const std::int32_t mask = erase ? MaskTransparent : MaskOpaque;
    // Painting in the region's own colour (an erase of colour 0 with a fill that is not white)
    // leaves nothing to tell filled pixels by, so they are marked.
    Fill(width, height, x, y, diagonal, paint == region,
         [&](int px, int py) { return image.Pixels.At(px, py) == region; },
         [&](int px, int py) {
           image.Pixels.At(px, py) = paint;
           SetMask(image, px, py, mask);
         });
  });
}

void FillRegion(ImageDocument& document, std::int16_t imageIndex, int x, int y, PaintColour fill,
                bool blend, bool diagonal) {
  const bool opacity = imageIndex >= 0 && imageIndex < document.IconCount() &&
                       TakesOpacity(document.Image(imageIndex));
  if (!opacity) {
    FillRegion(document, imageIndex, x, y, fill.colour, false, diagonal);
    return;
  }
  Trap(kFillRegionLabel, [&] {
    IconImage& image = document.Image(imageIndex);
    const int width = image.Width;
    const int height = image.Height();
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    if (!GridsCoverPicture(image)) Raise(ErrorCode::SubscriptOutOfRange);
    if (image.Pixels.At(x, y) == kNoColour) return;
    const PaintColour region = PixelPaint(image, x, y);
    if (!blend && PaintColour{fill.opacity == 0 ? kBlack : fill.colour, fill.opacity} == region) return;
    Fill(width, height, x, y, diagonal, true,
         [&](int px, int py) { return image.Pixels.At(px, py) != kNoColour && PixelPaint(image, px, py) == region; },
         [&](int px, int py) { PaintPixel(image, px, py, fill, blend); });
  });
}

}  // namespace brixel
