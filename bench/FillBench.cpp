// Flood fill of large regions: one open 1024 x 1024 region, and a one-pixel corridor winding
// through the whole image (the deepest region a fill can meet), 4- and 8-connected.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "Colour.h"
#include "FloodFill.h"
#include "cIco.h"

namespace brixel::bench {
namespace {

constexpr int kSize = 1024;
const Colour kWall = MakeColour(255, 0, 0);
const Colour kFirst = MakeColour(0, 0, 255);
const Colour kSecond = MakeColour(0, 255, 0);

// A 1024 x 1024 true-colour image filled with kFirst, with serpentine walls when asked for:
// walls in every odd column, open alternately at the bottom and the top.
cIco MakeRegion(bool serpentine) {
  cIco icon;
  icon.AddImage(kSize, kSize, 24, -1);
  IconImage& image = icon.Image(0);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int gap = (x / 2) % 2 == 0 ? kSize - 1 : 0;
      const bool wall = serpentine && x % 2 == 1 && y != gap;
      image.Pixels.At(x, y) = wall ? kWall : kFirst;
      image.Mask.At(x, y) = MaskOpaque;
    }
  }
  return icon;
}

// Each run swaps the region between two colours, so every iteration fills the whole region
// and none needs a fresh image.
void Fill(benchmark::State& state, bool serpentine) {
  cIco icon = MakeRegion(serpentine);
  const bool diagonal = state.range(0) != 0;
  Colour current = kFirst;
  std::int64_t pixels = 0;
  for (auto _ : state) {
    const Colour next = current == kFirst ? kSecond : kFirst;
    FillRegion(icon, 0, 0, 0, next, false, diagonal);
    current = next;
    pixels += serpentine ? static_cast<std::int64_t>(kSize) * kSize / 2 + kSize / 2
                         : static_cast<std::int64_t>(kSize) * kSize;
  }
  if (icon.XYColor(0, kSize - 2, kSize - 1) != current) state.SkipWithError("the fill stopped short");
  state.SetItemsProcessed(pixels);
}

void OpenRegion(benchmark::State& state) { Fill(state, false); }
void Serpentine(benchmark::State& state) { Fill(state, true); }

BENCHMARK(OpenRegion)->ArgName("diagonal")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Serpentine)->ArgName("diagonal")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brixel::bench
