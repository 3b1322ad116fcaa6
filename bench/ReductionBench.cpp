// Colour reduction of a 256 x 256 picture of 65536 colours, as the copy and import dialogs
// redraw their previews: the fixed table's nearest colour, error diffusion, and a palette
// built from the picture by median cut.
#include <benchmark/benchmark.h>

#include "ColourReduction.h"

namespace brixel {
namespace {

Bitmap Field() {
  Bitmap picture(256, 256, kBlack);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) picture.At(x, y) = MakeColour(x, y, (x + y) / 2);
  }
  return picture;
}

void Reduce(benchmark::State& state, int depth, ReductionChoice choice) {
  const Bitmap field = Field();
  for (auto _ : state) {
    Bitmap picture = field;
    ReduceColours(picture, depth, choice);
    benchmark::DoNotOptimize(picture.Pixels.data());
  }
}

void NearestTo256(benchmark::State& state) { Reduce(state, 8, {}); }
void DitherTo256(benchmark::State& state) { Reduce(state, 8, {.Dither = true}); }
void DitherTo16(benchmark::State& state) { Reduce(state, 4, {.Dither = true}); }
void OwnPaletteOf256(benchmark::State& state) { Reduce(state, 8, {.OwnPalette = true}); }
void OwnPaletteDithered(benchmark::State& state) { Reduce(state, 8, {.Dither = true, .OwnPalette = true}); }

BENCHMARK(NearestTo256)->Unit(benchmark::kMillisecond);
BENCHMARK(DitherTo256)->Unit(benchmark::kMillisecond);
BENCHMARK(DitherTo16)->Unit(benchmark::kMillisecond);
BENCHMARK(OwnPaletteOf256)->Unit(benchmark::kMillisecond);
BENCHMARK(OwnPaletteDithered)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brixel
