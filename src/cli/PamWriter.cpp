#include "PamWriter.h"

namespace brixel::cli {

Bytes EncodePam(const IconImage& image, bool keptAlpha) {
  const int width = image.Width;
  const int height = image.Height();
  const std::string header = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " +
                             std::to_string(height) +
                             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  Bytes bytes(header.begin(), header.end());
  bytes.reserve(bytes.size() + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour c = image.Pixels.At(x, y);
      const bool opaque = image.Mask.At(x, y) == MaskOpaque;
      const int alpha = keptAlpha ? AlphaAt(image, x, y) : opaque ? 255 : 0;
      // An inverting pixel (-1) has no colour of its own; it is never opaque, so black will do.
      const Colour shown = c < 0 ? kBlack : c;
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(RedOf(shown)),
                                 static_cast<std::uint8_t>(GreenOf(shown)),
                                 static_cast<std::uint8_t>(BlueOf(shown)),
                                 static_cast<std::uint8_t>(alpha)});
    }
  }
  return bytes;
}

}  // namespace brixel::cli
