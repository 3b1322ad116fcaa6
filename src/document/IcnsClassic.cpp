#include "IcnsClassic.h"

#include <array>

namespace brixel {
namespace {

constexpr std::array<int, 6> kCubeSteps = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
constexpr std::array<int, 10> kRampSteps = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};

// The value of pixel index (from the top left) in rows of bitDepth-bit pixels.
int PixelValue(ByteView data, std::size_t index, int bitDepth) {
  const std::size_t bit = index * static_cast<std::size_t>(bitDepth);
  const int shift = 8 - bitDepth - static_cast<int>(bit % 8);
  return (data[bit / 8] >> shift) & ((1 << bitDepth) - 1);
}

}  // namespace

const std::vector<Colour>& ClassicPalette16() {
  static const std::vector<Colour> palette = [] {
    const std::array<int, 16> rgb = {0xFFFFFF, 0xFCF305, 0xFF6402, 0xDD0806, 0xF20884, 0x4600A5,
                                     0x0000D4, 0x02ABEA, 0x1FB714, 0x006411, 0x562C05, 0x90713A,
                                     0xC0C0C0, 0x808080, 0x404040, 0x000000};
    std::vector<Colour> colours;
    for (const int value : rgb) colours.push_back(MakeColour(value >> 16, (value >> 8) & 0xFF, value & 0xFF));
    return colours;
  }();
  return palette;
}

const std::vector<Colour>& ClassicPalette256() {
  static const std::vector<Colour> palette = [] {
    std::vector<Colour> colours;
    for (const int red : kCubeSteps) {
      for (const int green : kCubeSteps) {
        for (const int blue : kCubeSteps) {
          if (red == 0 && green == 0 && blue == 0) continue;  // black comes last
          colours.push_back(MakeColour(red, green, blue));
        }
      }
    }
    for (const int step : kRampSteps) colours.push_back(MakeColour(step, 0, 0));
    for (const int step : kRampSteps) colours.push_back(MakeColour(0, step, 0));
    for (const int step : kRampSteps) colours.push_back(MakeColour(0, 0, step));
    for (const int step : kRampSteps) colours.push_back(MakeColour(step, step, step));
    colours.push_back(kBlack);
    return colours;
  }();
  return palette;
}

std::optional<IconImage> ReadClassicEntry(ByteView data, int width, int height, int bitDepth,
                                          std::optional<ByteView> maskEntry) {
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::size_t bytes = pixels * static_cast<std::size_t>(bitDepth) / 8;
  if (data.size() < bytes) return std::nullopt;
  IconImage image = MakeNewImage(width, height, bitDepth);
  if (bitDepth == 4) image.Palette = ClassicPalette16();
  if (bitDepth == 8) image.Palette = ClassicPalette256();
  // The mask is the second half of the 1-bit entry.
  const bool masked = maskEntry && maskEntry->size() >= 2 * (pixels / 8);
  const ByteView mask = masked ? maskEntry->subspan(pixels / 8) : ByteView();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x);
      const int value = PixelValue(data, index, bitDepth);
      image.Pixels.At(x, y) = bitDepth == 1 ? (value ? kBlack : kWhite)
                                            : image.Palette[static_cast<std::size_t>(value)];
      image.Mask.At(x, y) = !masked || PixelValue(mask, index, 1) ? MaskOpaque : MaskTransparent;
    }
  }
  return image;
}

}  // namespace brixel
