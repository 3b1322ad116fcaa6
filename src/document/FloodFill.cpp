#include "FloodFill.h"

#include <vector>

#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr const char* kFillRegionLabel = "PrjBackEnd.mFloodFill.FillRegion";

struct Seed {
  int x;
  int y;
};

// Scan-line fill over the picture (padding columns excluded) with an explicit stack of span
// seeds, so the depth of the region costs heap, not call stack.
class RegionFill {
 public:
  RegionFill(IconImage& image, Colour region, Colour paint, std::int32_t mask, bool diagonal)
      : image_(image), width_(image.Width), height_(image.Height()), region_(region),
        paint_(paint), mask_(mask), diagonal_(diagonal) {
    // Painting in the region's own colour (an erase of colour 0 with a fill that is not white)
    // leaves nothing to tell filled pixels by, so they are marked.
    if (paint_ == region_) {
      marks_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    }
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
    return image_.Pixels.At(x, y) == region_ &&
           (marks_.empty() || marks_[Index(x, y)] == 0);
  }

  void Set(int x, int y) {
    image_.Pixels.At(x, y) = paint_;
    SetMask(image_, x, y, mask_);
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

  IconImage& image_;
  const int width_;
  const int height_;
  const Colour region_;
  const Colour paint_;
  const std::int32_t mask_;
  const bool diagonal_;
  std::vector<std::uint8_t> marks_;
  std::vector<Seed> stack_;
};

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
    RegionFill(image, region, erase ? kBlack : fill, erase ? MaskTransparent : MaskOpaque,
               diagonal)
        .Run(x, y);
  });
}

}  // namespace brixel
