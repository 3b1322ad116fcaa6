// Reading the icon groups of Windows programs: the resource directory of a library of 200 icon
// groups of five images each (written by the tests' program builder), and one group rebuilt.

#include <benchmark/benchmark.h>

#include "IcoFile.h"
#include "PatternIcons.h"
#include "ProgramFileBuilder.h"
#include "ProgramIcons.h"

namespace brixel {
namespace {

const Bytes& Library() {
  static const Bytes library = [] {
    cIco icon;
    bench::AddPatternImages(icon, {{16, 4}, {16, 32}, {32, 8}, {32, 32}, {48, 32}});
    const Bytes file = BuildIconFile(icon.Images(), 1);
    std::vector<test::BuiltResource> resources;
    for (std::uint16_t group = 0; group < 200; ++group) {
      const auto added = test::ResourcesOfIconFile(file, test::BuiltId(static_cast<std::uint16_t>(group + 1)),
                                                   static_cast<std::uint16_t>(group * 5 + 1));
      resources.insert(resources.end(), added.begin(), added.end());
    }
    return test::BuildPeFile(resources, true);
  }();
  return library;
}

void ReadGroups(benchmark::State& state) {
  for (auto _ : state) {
    const ProgramIcons program(Library());
    benchmark::DoNotOptimize(program.Groups().size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Library().size()));
}
BENCHMARK(ReadGroups);

void RebuildGroup(benchmark::State& state) {
  const ProgramIcons program(Library());
  for (auto _ : state) benchmark::DoNotOptimize(program.Rebuild(100).file.size());
}
BENCHMARK(RebuildGroup);

}  // namespace
}  // namespace brixel
