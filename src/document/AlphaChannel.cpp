#include "AlphaChannel.h"

#include "IconImage.h"

#include <atomic>

namespace brixel {
namespace {

// Read by the recovery writer's thread as well.
std::atomic<bool> keepAlpha{true};

int BlendPart(int part, int alpha, int under) {
  return (part * alpha + under * (255 - alpha) + 127) / 255;
}

}  // namespace

int WrittenAlpha(int alpha, bool opaque) {
  if (KeepAlpha()) return alpha;
  return opaque ? 255 : 0;
}

int WrittenAlphaAt(const IconImage& image, int x, int y) {
  return WrittenAlpha(AlphaAt(image, x, y), image.Mask.At(x, y) == MaskOpaque);
}

bool KeepAlpha() { return keepAlpha.load(std::memory_order_relaxed); }

void KeepAlpha(bool keep) { keepAlpha.store(keep, std::memory_order_relaxed); }

Colour BlendOver(Colour colour, int alpha, Colour background) {
  if (alpha <= 0 || colour < 0) return background;
  if (alpha >= 255) return colour;
  const Colour under = background < 0 ? kBlack : background;
  return MakeColour(BlendPart(RedOf(colour), alpha, RedOf(under)),
                    BlendPart(GreenOf(colour), alpha, GreenOf(under)),
                    BlendPart(BlueOf(colour), alpha, BlueOf(under)));
}

}  // namespace brixel
