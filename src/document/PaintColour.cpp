#include "PaintColour.h"

#include <algorithm>
#include <cstdio>

#include "AlphaChannel.h"
#include "IconImage.h"

namespace brixel {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool TakesOpacity(const IconImage& image) { return image.BitDepth == 32 && KeepAlpha(); }

PaintColour BlendedOver(PaintColour paint, PaintColour under) {
  const int a = std::clamp(paint.opacity, 0, kOpaque);
  const int b = std::clamp(under.opacity, 0, kOpaque);
  if (a == kOpaque || b == 0) return a == 0 ? PaintColour{kBlack, 0} : PaintColour{paint.colour, a};
  if (a == 0) return under;
  // Alphas scaled by 255: out = a + b (1 - a); parts weighted by their share of it.
  const int below = b * (kOpaque - a);  // b (1 - a), times 255
  const int out = a * kOpaque + below;  // times 255
  const auto part = [&](int top, int bottom) {
    return (top * a * kOpaque + bottom * below + out / 2) / out;
  };
  const Colour c = paint.colour < 0 ? kBlack : paint.colour;
  const Colour u = under.colour < 0 ? kBlack : under.colour;
  return {MakeColour(part(RedOf(c), RedOf(u)), part(GreenOf(c), GreenOf(u)), part(BlueOf(c), BlueOf(u))),
          (out + kOpaque / 2) / kOpaque};
}

PaintColour PixelPaint(const IconImage& image, int x, int y) {
  const int alpha = AlphaAt(image, x, y);
  const Colour colour = image.Pixels.At(x, y);
  if (alpha == 0 || colour < 0) return {kBlack, 0};
  return {colour, alpha};
}

void PaintPixel(IconImage& image, int x, int y, PaintColour paint, bool blend) {
  if (!TakesOpacity(image)) {
    image.Pixels.At(x, y) = paint.colour;
    SetMask(image, x, y, MaskOpaque);
    return;
  }
  if (!image.CarriesAlpha()) AddAlphaFromMask(image);
  PaintColour result{paint.colour, std::clamp(paint.opacity, 0, kOpaque)};
  if (blend) result = BlendedOver(result, PixelPaint(image, x, y));
  if (result.opacity == 0) {
    image.Pixels.At(x, y) = kBlack;
    SetMask(image, x, y, MaskTransparent);
    return;
  }
  image.Pixels.At(x, y) = result.colour;
  image.Mask.At(x, y) = MaskOpaque;
  image.Alpha.At(x, y) = result.opacity;
}

std::string HexOf(PaintColour paint, bool withOpacity) {
  const Colour c = paint.colour < 0 ? kBlack : paint.colour;
  char text[10];
  if (withOpacity) {
    std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c),
                  std::clamp(paint.opacity, 0, kOpaque));
  } else {
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
  }
  return text;
}

std::optional<PaintColour> PaintFromHex(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  int bytes[4] = {0, 0, 0, kOpaque};
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i / 2] = high * 16 + low;
  }
  return PaintColour{MakeColour(bytes[0], bytes[1], bytes[2]), bytes[3]};
}

}  // namespace brixel
