// Writes a small seed corpus for a fuzz target when the tests have left none:
//   make_seeds KIND DIR
// KIND "ico" gives icons and cursors of every depth (32-bit ones with alpha and as PNG among
// them), "ani" animated cursors whose frames are such icons, "xcursor" Linux cursors of one
// and of several steps at two sizes, "icns" macOS icons of such images, "pe" Windows programs
// (PE32, PE32+ and NE) holding such icons and cursors as groups, an animated cursor among them,
// "png" 8-bit RGBA PNGs of a few sizes; a kind without seeds here writes nothing, and the fuzzer starts from an empty corpus.

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "IcnsFile.h"
#include "IcoFile.h"
#include "PngCodec.h"
#include "PatternIcons.h"
#include "ProgramFileBuilder.h"
#include "XcursorFile.h"
#include "cAni.h"
#include "cIco.h"

using namespace brixel;

namespace {

// How the seed's 32-bit images carry alpha: not at all, in their fourth bytes, or as PNG.
enum class Alpha { None, Bitmap, Png };

struct Seed {
  const char* name;
  std::vector<bench::ImageSpec> images;
  int fileType;
  Alpha alpha = Alpha::None;
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
      {"32bit-16-alpha.ico", {{16, 32}}, 1, Alpha::Bitmap},
      {"png-16.ico", {{16, 32}}, 1, Alpha::Png},
      {"png-24-and-8bit-16.ico", {{16, 8}, {24, 32}}, 1, Alpha::Png},
      {"png-32.cur", {{32, 32}}, 2, Alpha::Png},
  };
  return seeds;
}

// Soft alpha for the 32-bit images: opaque pixels fade along the rows, the others stay 0.
void GiveAlpha(cIco& icon, Alpha alpha) {
  if (alpha == Alpha::None) return;
  for (std::int16_t i = 0; i < icon.IconCount(); ++i) {
    IconImage& image = icon.Image(i);
    if (image.BitDepth != 32) continue;
    AddAlphaFromMask(image);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        if (image.Mask.At(x, y) == MaskOpaque) image.Alpha.At(x, y) = 255 - (7 * x + 3 * y) % 120;
      }
    }
    image.StoredAsPng = alpha == Alpha::Png;
  }
}

// --- Animated cursors: pattern icons as frames of a RIFF "ACON" file ---

struct AniSeed {
  const char* name;
  std::vector<std::vector<bench::ImageSpec>> frames;  // the images of each frame
  std::vector<std::uint32_t> sequence;                // empty: no "seq " and "rate" chunks
};

const std::vector<AniSeed>& AniSeeds() {
  static const std::vector<AniSeed> seeds = {
      {"three-frames.ani", {{{16, 4}}, {{16, 8}}, {{16, 32}}}, {0, 1, 2, 1}},
      {"mono-and-colour.ani", {{{32, 1}, {32, 8}}, {{32, 1}, {32, 24}}}, {}},
      {"one-frame.ani", {{{24, 1}}}, {}},
  };
  return seeds;
}

void Append32(Bytes& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A chunk with its size, padded to an even length.
void AppendChunk(Bytes& bytes, const char* id, const Bytes& data) {
  bytes.insert(bytes.end(), id, id + 4);
  Append32(bytes, static_cast<std::uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (data.size() % 2 == 1) bytes.push_back(0);
}

Bytes BuildAniSeed(const AniSeed& seed) {
  const auto steps = static_cast<std::uint32_t>(seed.sequence.empty() ? seed.frames.size() : seed.sequence.size());
  Bytes header, rates, sequence, info = {'I', 'N', 'F', 'O'}, frames = {'f', 'r', 'a', 'm'};
  for (std::uint32_t v : {36u, static_cast<std::uint32_t>(seed.frames.size()), steps, 0u, 0u, 0u, 0u, 6u,
                          seed.sequence.empty() ? 1u : 3u}) {
    Append32(header, v);
  }
  for (std::uint32_t frame : seed.sequence) {
    Append32(sequence, frame);
    Append32(rates, 6 + frame);
  }
  AppendChunk(info, "INAM", {'S', 'e', 'e', 'd', 0});
  AppendChunk(info, "IART", {'B', 'r', 'i', 'x', 'e', 'l'});
  for (const auto& images : seed.frames) {
    cIco icon;
    bench::AddPatternImages(icon, images);
    AppendChunk(frames, "icon", BuildIconFile(icon.Images(), 2));
  }
  Bytes body = {'A', 'C', 'O', 'N'};
  AppendChunk(body, "anih", header);
  if (!seed.sequence.empty()) {
    AppendChunk(body, "rate", rates);
    AppendChunk(body, "seq ", sequence);
  }
  AppendChunk(body, "LIST", info);
  AppendChunk(body, "LIST", frames);
  Bytes file = {'R', 'I', 'F', 'F'};
  Append32(file, static_cast<std::uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// --- Windows programs: pattern icons and cursors as resource groups ---

std::vector<test::BuiltResource> ProgramSeedResources() {
  cIco icon;
  bench::AddPatternImages(icon, {{16, 4}, {32, 8}, {32, 32}});
  cIco cursor;
  bench::AddPatternImages(cursor, {{32, 1}});
  cursor.xHotSpot(0, 4);
  cursor.yHotSpot(0, 9);
  std::vector<test::BuiltResource> resources =
      test::ResourcesOfIconFile(BuildIconFile(icon.Images(), 1), test::BuiltId(u"MAINICON"), 1, 1033);
  const auto more = [&](const std::vector<test::BuiltResource>& added) {
    resources.insert(resources.end(), added.begin(), added.end());
  };
  more(test::ResourcesOfIconFile(BuildIconFile(icon.Images(), 1), test::BuiltId(2), 10, 1031));
  more(test::ResourcesOfIconFile(BuildIconFile(cursor.Images(), 2), test::BuiltId(32512), 20));
  resources.push_back({test::BuiltId(21), test::BuiltId(u"BUSY"), 0, BuildAniSeed(AniSeeds()[2])});
  return resources;
}

// --- Xcursor files: pattern images at two sizes, once and as three steps ---

std::vector<std::pair<std::string, Bytes>> XcursorSeeds() {
  cIco sizes;
  bench::AddPatternImages(sizes, {{16, 32}, {32, 32}});
  for (std::int16_t i = 0; i < sizes.IconCount(); ++i) {
    AddAlphaFromMask(sizes.Image(i));
    sizes.xHotSpot(i, static_cast<std::int16_t>(sizes.Width(i) / 4));
  }
  cAni steps;
  steps.DisplayRate(3);
  for (int frame = 0; frame < 3; ++frame) steps.AppendFrame(sizes.Images());
  return {{"still.xcursor", BuildXcursorFile(sizes.Images(), nullptr)},
          {"three-steps.xcursor", BuildXcursorFile(steps.Images(), &steps.Info())}};
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
  if (kind == "ani") {
    for (const AniSeed& seed : AniSeeds()) {
      const std::string path = dir + "/" + seed.name;
      if (!WriteFile(path, BuildAniSeed(seed))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (kind == "pe") {
    const std::vector<test::BuiltResource> resources = ProgramSeedResources();
    for (const auto& [name, file] : {std::pair<const char*, Bytes>{"seed.dll", test::BuildPeFile(resources, false)},
                                     {"seed64.dll", test::BuildPeFile(resources, true)},
                                     {"seed.icl", test::BuildNeFile(resources)}}) {
      if (!WriteFile(dir + "/" + name, file)) {
        std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
        return 1;
      }
    }
    return 0;
  }
  if (kind == "xcursor") {
    for (const auto& [name, bytes] : XcursorSeeds()) {
      if (!WriteFile(dir + "/" + name, bytes)) {
        std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (kind == "icns") {
    // Pattern images of every size .icns holds, the small ones also as run-length entries.
    IcnsRunLengthEntries(true);
    for (const std::vector<bench::ImageSpec>& images :
         {std::vector<bench::ImageSpec>{{16, 32}, {32, 32}, {48, 32}},
          std::vector<bench::ImageSpec>{{16, 8}, {64, 32}, {128, 32}}, std::vector<bench::ImageSpec>{{256, 32}}}) {
      cIco icon;
      bench::AddPatternImages(icon, images);
      std::vector<std::string> leftOut;
      const std::string path = dir + "/" + std::to_string(images.back().size) + ".icns";
      if (!WriteFile(path, BuildIcnsFile(icon.Images(), leftOut))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (kind == "png") {
    for (const int side : {1, 7, 33}) {
      std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 4);
      for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 37 / 5);
      const std::string path = dir + "/" + std::to_string(side) + ".png";
      if (!WriteFile(path, EncodePng(side, side, rgba))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  }
  if (kind != "ico") return 0;
  for (const Seed& seed : IcoSeeds()) {
    cIco icon;
    bench::AddPatternImages(icon, seed.images);
    GiveAlpha(icon, seed.alpha);
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
