// Writes a small seed corpus for a fuzz target when the tests have left none:
//   make_seeds KIND DIR
// KIND "ico" gives icons and cursors of every depth; a kind without seeds here writes
// nothing, and the fuzzer starts from an empty corpus.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IcoFile.h"
#include "PatternIcons.h"
#include "cIco.h"

using namespace brixel;

namespace {

struct Seed {
  const char* name;
  std::vector<bench::ImageSpec> images;
  int fileType;
};

const std::vector<Seed>& IcoSeeds() {
  static const std::vector<Seed> seeds = {
      {"1bit-16.ico", {{16, 1}}, 1},
      {"4bit-16.ico", {{16, 4}}, 1},
      {"8bit-16.ico", {{16, 8}}, 1},
      {"24bit-16.ico", {{16, 24}}, 1},
      {"32bit-16.ico", {{16, 32}}, 1},
      {"1bit-33.ico", {{33, 1}}, 1},  // rows padded past one 32-bit word
      {"24bit-3.ico", {{3, 24}}, 1},  // XOR rows padded to four bytes
      {"set-16-32x4-8-32.ico", {{16, 4}, {16, 8}, {16, 32}, {32, 4}, {32, 8}, {32, 32}}, 1},
      {"1bit-32.cur", {{32, 1}}, 2},
      {"32bit-32.cur", {{32, 32}}, 2},
  };
  return seeds;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s KIND DIR\n", argv[0]);
    return 2;
  }
  const std::string kind = argv[1];
  const std::string dir = argv[2];
  fuzz::InstallQuietBackEnd();
  if (kind != "ico") return 0;
  for (const Seed& seed : IcoSeeds()) {
    cIco icon;
    bench::AddPatternImages(icon, seed.images);
    if (seed.fileType == 2) {
      for (std::int16_t i = 0; i < icon.IconCount(); ++i) {
        icon.xHotSpot(i, static_cast<std::int16_t>(icon.Width(i) / 2));
        icon.yHotSpot(i, static_cast<std::int16_t>(icon.Width(i) / 3));
      }
    }
    const std::string path = dir + "/" + seed.name;
    if (!WriteFile(path, BuildIconFile(icon.Images(), seed.fileType))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
