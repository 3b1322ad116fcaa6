// Reading Linux cursors: an animated Xcursor file of a busy cursor as themes ship it (60
// steps at five sizes), read alone and made into the animated cursor the editor opens.

#include <benchmark/benchmark.h>

#include "PatternIcons.h"
#include "XcursorCursor.h"
#include "XcursorFile.h"
#include "XcursorReader.h"
#include "cAni.h"

namespace brixel::bench {
namespace {

Bytes BusyCursorFile() {
  cIco sizes;
  AddPatternImages(sizes, {{24, 32}, {32, 32}, {48, 32}, {64, 32}, {96, 32}});
  for (std::int16_t i = 0; i < sizes.IconCount(); ++i) AddAlphaFromMask(sizes.Image(i));
  cAni steps;
  steps.DisplayRate(1);
  for (int step = 0; step < 60; ++step) steps.AppendFrame(sizes.Images());
  return BuildXcursorFile(steps.Images(), &steps.Info());
}

void ReadXcursor(benchmark::State& state) {
  const Bytes file = BusyCursorFile();
  for (auto _ : state) benchmark::DoNotOptimize(ReadXcursorFile(file));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(ReadXcursor)->Unit(benchmark::kMillisecond);

void OpenXcursorAsAnimatedCursor(benchmark::State& state) {
  const Bytes file = BusyCursorFile();
  for (auto _ : state) benchmark::DoNotOptimize(AnimatedCursorDocument(CursorFromXcursor(ReadXcursorFile(file))));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(OpenXcursorAsAnimatedCursor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brixel::bench
