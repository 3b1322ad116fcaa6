// Decode and encode throughput of icon files: single images of every depth at the usual
// sizes, and the multi-image sets that real icons carry.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "IcoFile.h"
#include "PatternIcons.h"
#include "cIco.h"

namespace brixel::bench {
namespace {

struct IconCase {
  std::string name;
  std::vector<ImageSpec> images;
};

std::vector<IconCase> IconCases() {
  std::vector<IconCase> cases;
  for (int depth : {1, 4, 8, 24, 32}) {
    for (int size : {16, 32, 48, 256}) {
      cases.push_back({std::to_string(depth) + "bit/" + std::to_string(size) + "px",
                       {{size, depth}}});
    }
  }
  IconCase standard{"set/16-32-48x4-8-32bit", {}};
  for (int size : {16, 32, 48}) {
    for (int depth : {4, 8, 32}) standard.images.push_back({size, depth});
  }
  cases.push_back(standard);
  cases.push_back({"set/256x4-8-32bit", {{256, 4}, {256, 8}, {256, 32}}});
  return cases;
}

// The case's icon and its file; the images must come back unchanged from the file, or the
// figures would measure something else than a real round trip.
struct Prepared {
  cIco icon;
  Bytes file;
  bool exact = false;
};

Prepared Prepare(const IconCase& c) {
  Prepared p;
  AddPatternImages(p.icon, c.images);
  p.file = BuildIconFile(p.icon.Images(), 1);
  cIco check;
  p.exact = check.ReadIconData(p.file) && check.Images() == p.icon.Images();
  return p;
}

void Decode(benchmark::State& state, const IconCase& c) {
  const Prepared p = Prepare(c);
  if (!p.exact) return state.SkipWithError("the file does not read back as written");
  for (auto _ : state) {
    cIco icon;
    benchmark::DoNotOptimize(icon.ReadIconData(p.file));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(p.file.size()));
}

void Encode(benchmark::State& state, const IconCase& c) {
  const Prepared p = Prepare(c);
  if (!p.exact) return state.SkipWithError("the file does not read back as written");
  for (auto _ : state) {
    Bytes file = BuildIconFile(p.icon.Images(), 1);
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(p.file.size()));
}

void RegisterAll() {
  for (const IconCase& c : IconCases()) {
    benchmark::RegisterBenchmark(("Decode/" + c.name).c_str(), Decode, c);
    benchmark::RegisterBenchmark(("Encode/" + c.name).c_str(), Encode, c);
  }
}

}  // namespace
}  // namespace brixel::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  brixel::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
