#include "ColourReduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "Palette.h"
#include "PaletteBuilding.h"

namespace brixel {
namespace {

std::vector<Colour> VgaColours() {
  return {MakeColour(0, 0, 0),       MakeColour(128, 0, 0),     MakeColour(0, 128, 0),
          MakeColour(128, 128, 0),   MakeColour(0, 0, 128),     MakeColour(128, 0, 128),
          MakeColour(0, 128, 128),   MakeColour(192, 192, 192), MakeColour(128, 128, 128),
          MakeColour(255, 0, 0),     MakeColour(0, 255, 0),     MakeColour(255, 255, 0),
          MakeColour(0, 0, 255),     MakeColour(255, 0, 255),   MakeColour(0, 255, 255),
          MakeColour(255, 255, 255)};
}

std::vector<Colour> HalftoneColours() {
  std::vector<Colour> table = VgaColours();
  const auto add = [&table](Colour colour) {
    for (const Colour present : table) {
      if (present == colour) return;
    }
    table.push_back(colour);
  };
  for (int red = 0; red < 6; ++red) {
    for (int green = 0; green < 6; ++green) {
      for (int blue = 0; blue < 6; ++blue) add(MakeColour(51 * red, 51 * green, 51 * blue));
    }
  }
  // Greys between the cube's: 5, 13, ..., 253 meet none of the levels above.
  for (int level = 5; level < 256; level += 8) add(MakeColour(level, level, level));
  return table;
}

}  // namespace

const std::vector<Colour>& ReductionTable(int bitDepth) {
  static const std::vector<Colour> blackAndWhite = {kBlack, kWhite};
  static const std::vector<Colour> vga = VgaColours();
  static const std::vector<Colour> halftone = HalftoneColours();
  static const std::vector<Colour> none;
  switch (bitDepth) {
    case 1: return blackAndWhite;
    case 4: return vga;
    case 8: return halftone;
    default: return none;
  }
}

void ReduceColours(Bitmap& picture, int bitDepth) {
  const std::vector<Colour>& table = ReductionTable(bitDepth);
  if (table.empty()) return;
  // Pictures hold few distinct colours compared with their pixels: match each colour once.
  std::unordered_map<Colour, Colour> matched;
  for (Colour& pixel : picture.Pixels) {
    const Colour colour = pixel & kWhite;
    auto found = matched.find(colour);
    if (found == matched.end()) found = matched.emplace(colour, table[static_cast<std::size_t>(NearestPaletteEntry(table, colour))]).first;
    pixel = found->second;
  }
}

namespace {

bool ShownOpaque(const Bitmap* mask, int x, int y) {
  return !mask || (mask->At(x, y) & kWhite) == kWhite;
}

// The nearest entry of a palette, each colour looked up once.
class NearestColour {
 public:
  explicit NearestColour(const std::vector<Colour>& palette) : palette_(palette) {}
  Colour operator()(Colour colour) {
    auto found = matched_.find(colour);
    if (found == matched_.end()) {
      found = matched_.emplace(colour, palette_[static_cast<std::size_t>(NearestPaletteEntry(palette_, colour))]).first;
    }
    return found->second;
  }

 private:
  const std::vector<Colour>& palette_;
  std::unordered_map<Colour, Colour> matched_;
};

void Diffuse(Bitmap& picture, const Bitmap* mask, NearestColour& nearest) {
  // What each pixel of this row and the next still has to take, per channel; one column of
  // room on either side spares the edge tests.
  using Error = std::array<float, 3>;
  const auto columns = static_cast<std::size_t>(picture.Width) + 2;
  std::vector<Error> current(columns, Error{});
  std::vector<Error> next(columns, Error{});
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      if (!ShownOpaque(mask, x, y)) continue;
      const auto at = static_cast<std::size_t>(x) + 1;
      const Colour colour = picture.At(x, y);
      const std::array<int, 3> parts{RedOf(colour), GreenOf(colour), BlueOf(colour)};
      std::array<int, 3> wanted{};
      for (std::size_t c = 0; c < 3; ++c) {
        wanted[c] = std::clamp(static_cast<int>(std::lround(static_cast<float>(parts[c]) + current[at][c])), 0, 255);
      }
      const Colour got = nearest(MakeColour(wanted[0], wanted[1], wanted[2]));
      picture.At(x, y) = got;
      const std::array<int, 3> gotParts{RedOf(got), GreenOf(got), BlueOf(got)};
      for (std::size_t c = 0; c < 3; ++c) {
        const auto missed = static_cast<float>(wanted[c] - gotParts[c]);
        current[at + 1][c] += missed * 7 / 16;
        next[at - 1][c] += missed * 3 / 16;
        next[at][c] += missed * 5 / 16;
        next[at + 1][c] += missed * 1 / 16;
      }
    }
    std::swap(current, next);
    std::fill(next.begin(), next.end(), Error{});
  }
}

}  // namespace

std::vector<Colour> ReductionPalette(const Bitmap& picture, int bitDepth, const ReductionChoice& choice,
                                     const Bitmap* mask) {
  if (bitDepth != 8 || !choice.OwnPalette) return ReductionTable(bitDepth);
  std::vector<Colour> shown;
  shown.reserve(picture.Pixels.size());
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      if (ShownOpaque(mask, x, y)) shown.push_back(picture.At(x, y));
    }
  }
  std::vector<Colour> palette = MedianCutPalette(shown, 256);
  // A picture with no opaque pixel still gets a colour to map to.
  if (palette.empty()) palette.push_back(kWhite);
  return palette;
}

void ReduceColours(Bitmap& picture, int bitDepth, const ReductionChoice& choice, const Bitmap* mask) {
  if (choice == ReductionChoice{}) {
    ReduceColours(picture, bitDepth);
    return;
  }
  if (mask && (mask->Width != picture.Width || mask->Height != picture.Height)) mask = nullptr;
  const std::vector<Colour> palette = ReductionPalette(picture, bitDepth, choice, mask);
  if (palette.empty()) return;
  NearestColour nearest(palette);
  if (choice.Dither) {
    Diffuse(picture, mask, nearest);
    return;
  }
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      if (ShownOpaque(mask, x, y)) picture.At(x, y) = nearest(picture.At(x, y) & kWhite);
    }
  }
}

}  // namespace brixel
