// Decode and encode throughput of macOS icons (.icns) held in memory: a set of every PNG size
// from 16 to 512 pixels, and the small sizes as run-length entries with masks.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "IcnsFile.h"
#include "PatternIcons.h"
#include "cIco.h"

namespace brixel::bench {
namespace {

std::vector<IconImage> PatternImages(const std::vector<ImageSpec>& specs) {
  cIco icon;
  AddPatternImages(icon, specs);
  return icon.Images();
}

const std::vector<ImageSpec> kPngSet = {{16, 32}, {32, 32}, {64, 32}, {128, 32}, {256, 32}, {512, 32}};
const std::vector<ImageSpec> kRunLengthSet = {{16, 32}, {32, 32}, {48, 32}};

Bytes Build(const std::vector<IconImage>& images, bool runLength) {
  IcnsRunLengthEntries(runLength);
  std::vector<std::string> leftOut;
  Bytes file = BuildIcnsFile(images, leftOut);
  IcnsRunLengthEntries(false);
  return file;
}

void BM_IcnsEncode(benchmark::State& state, const std::vector<ImageSpec>& specs, bool runLength) {
  const std::vector<IconImage> images = PatternImages(specs);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const Bytes file = Build(images, runLength);
    bytes += file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_IcnsDecode(benchmark::State& state, const std::vector<ImageSpec>& specs, bool runLength) {
  const Bytes file = Build(PatternImages(specs), runLength);
  for (auto _ : state) {
    std::vector<IconImage> images;
    ReadIcnsEntries(file, images, nullptr);
    benchmark::DoNotOptimize(images.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

BENCHMARK_CAPTURE(BM_IcnsEncode, png_16_to_512, kPngSet, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IcnsDecode, png_16_to_512, kPngSet, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IcnsEncode, run_length_16_32_48, kRunLengthSet, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_IcnsDecode, run_length_16_32_48, kRunLengthSet, true)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brixel::bench
