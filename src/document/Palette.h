#pragma once

#include <array>
#include <unordered_map>
#include <cstdint>
#include <vector>

#include "Colour.h"
#include "IconImage.h"

namespace brixel {

// The fixed table of 256 colours that new palettes are taken from.
const std::array<Colour, 256>& DefaultPalette();

// Fills every entry of the palette from the same entry of the default table.
void GetNewPalette(std::vector<Colour>& palette);

// Index of the first entry equal to colour, 0 when none is (the lookup used for writing).
std::int32_t GetPaletteNum(Colour colour, const IconImage& image);

// GetPaletteNum for many pixels of one image: the palette is indexed once.
class PaletteLookup {
 public:
  explicit PaletteLookup(const IconImage& image) : PaletteLookup(image.Palette) {}
  explicit PaletteLookup(const std::vector<Colour>& palette);
  std::int32_t Find(Colour colour) const {
    const auto it = firstIndex_.find(colour);
    return it == firstIndex_.end() ? 0 : it->second;
  }

 private:
  std::unordered_map<Colour, std::int32_t> firstIndex_;
};

// Index of the last entry equal to colour, -1 when none is (the lookup used for clicks).
std::int32_t HitTestPalette(const IconImage& image, Colour colour);

// The entry to paint colour with: the last entry equal to it, as HitTestPalette finds it,
// else the entry nearest in RGB (smallest squared distance, the first one on ties); -1 for an
// empty palette.
std::int32_t NearestPaletteEntry(const std::vector<Colour>& palette, Colour colour);

}  // namespace brixel
