#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Colour.h"

namespace brixel {

struct IconImage;

// What a mouse button paints with: a colour and its opacity, 0 (transparent) to 255 (opaque).
// The colour is the 24-bit colour value of Colour.h; the opacity lives beside it, never packed
// into it, so -1 keeps meaning "inverting" and every 24-bit rule stays as it is. Opacity only
// counts in images that take it (TakesOpacity); elsewhere every colour paints opaque.
struct PaintColour {
  Colour colour = kBlack;
  int opacity = 255;
  friend bool operator==(const PaintColour&, const PaintColour&) = default;
};

inline constexpr int kOpaque = 255;

// Whether pixels of the image can be painted half transparent: 32 bits per pixel while "Keep
// alpha channel" is on. Such an image is given an alpha channel (from its mask) by its first
// pixel painted with opacity.
bool TakesOpacity(const IconImage& image);

// paint laid over under with the usual source-over blend, each part rounded to the nearest.
// A result of opacity 0 is transparent black.
PaintColour BlendedOver(PaintColour paint, PaintColour under);

// Pixel (x, y) as colour and opacity: its alpha (AlphaAt) in an image that carries alpha, else
// 255 when opaque and 0 when not; a pixel of opacity 0 reads as black (an inverting one too).
PaintColour PixelPaint(const IconImage& image, int x, int y);

// Sets pixel (x, y) to paint, or to paint blended over it: opaque (mask 0) with its alpha, or
// transparent for opacity 0. In an image that takes no opacity the pixel becomes opaque in the
// colour whatever the opacity, as every tool has always painted. The caller keeps (x, y) in the
// picture.
void PaintPixel(IconImage& image, int x, int y, PaintColour paint, bool blend);

// "#RRGGBB", or "#RRGGBBAA" with the opacity.
std::string HexOf(PaintColour paint, bool withOpacity);
// Reads "#RRGGBB" (opaque) or "#RRGGBBAA", the '#' optional, either case, blanks around it
// allowed; nothing for anything else.
std::optional<PaintColour> PaintFromHex(std::string_view text);

}  // namespace brixel
