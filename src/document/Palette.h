#pragma once

#include <array>
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

// GetPaletteNum for many pixels of one image: the palette is indexed once, in an open-addressed
// table of at least four times its size, so a lookup is a multiply and, mostly, one probe.
class PaletteLookup {
 public:
  explicit PaletteLookup(const IconImage& image) : PaletteLookup(image.Palette) {}
  explicit PaletteLookup(const std::vector<Colour>& palette);
  std::int32_t Find(Colour colour) const {
    for (std::size_t slot = SlotOf(colour);; slot = (slot + 1) & slotMask_) {
      const Entry& entry = slots_[slot];
      if (entry.index < 0) return 0;
      if (entry.colour == colour) return entry.index;
    }
  }

 private:
  struct Entry {
    Colour colour = 0;
    std::int32_t index = -1;  // -1: an empty slot
  };
  std::size_t SlotOf(Colour colour) const {
    return (static_cast<std::uint32_t>(colour) * 2654435761u) >> shift_;
  }

  std::vector<Entry> slots_;
  std::size_t slotMask_ = 0;
  int shift_ = 32;
};

// Index of the last entry equal to colour, -1 when none is (the lookup used for clicks).
std::int32_t HitTestPalette(const IconImage& image, Colour colour);

// The entry to paint colour with: the last entry equal to it, as HitTestPalette finds it,
// else the entry nearest in RGB (smallest squared distance, the first one on ties); -1 for an
// empty palette.
std::int32_t NearestPaletteEntry(const std::vector<Colour>& palette, Colour colour);

}  // namespace brixel
