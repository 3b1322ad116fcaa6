#include "ColourReduction.h"

#include <unordered_map>

#include "Palette.h"

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

}  // namespace brixel
