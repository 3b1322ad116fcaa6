// What keeping a recovery copy of an icon costs: making the copy (on the GUI thread) and
// writing it safely (on the writing thread), for an icon as real ones are: a 256-pixel PNG
// image with alpha first, then 16 to 48 pixels at 32 and 8 bits.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "AlphaChannel.h"
#include "PatternIcons.h"
#include "RecoveryFile.h"
#include "RecoveryFolder.h"
#include "cIco.h"

namespace brixel::bench {
namespace {

cIco TenImageIcon() {
  cIco icon;
  AddPatternImages(icon, {{256, 32}, {48, 32}, {32, 32}, {24, 32}, {16, 32},
                          {48, 8}, {32, 8}, {24, 8}, {16, 8}, {64, 32}});
  for (std::int16_t i = 0; i < icon.IconCount(); ++i) {
    IconImage& image = icon.Image(i);
    if (image.BitDepth != 32) continue;
    AddAlphaFromMask(image);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        if (image.Mask.At(x, y) == MaskOpaque) image.Alpha.At(x, y) = static_cast<std::int32_t>(128 + (x + y) % 128);
      }
    }
  }
  icon.Image(0).StoredAsPng = true;
  icon.IconPath("/home/user/art/app.ico");
  return icon;
}

// What the GUI thread pays after an edit of the large image: copying the images.
void TakeSnapshot(benchmark::State& state) {
  const cIco icon = TenImageIcon();
  for (auto _ : state) benchmark::DoNotOptimize(TakeRecoverySnapshot(icon, nullptr, 0));
}
BENCHMARK(TakeSnapshot)->Unit(benchmark::kMillisecond);

// What the writing thread does with it before the write: the file's bytes, with the edited
// 256-pixel image compressed again.
void MakeCopy(benchmark::State& state) {
  cIco icon = TenImageIcon();
  int step = 0;
  for (auto _ : state) {
    icon.XYColor(0, static_cast<float>(step % 256), 100, MakeColour(step % 256, 0, 0));
    ++step;
    benchmark::DoNotOptimize(EncodeRecovery(MakeRecoveryRecord(TakeRecoverySnapshot(icon, nullptr, 0))));
  }
}
BENCHMARK(MakeCopy)->Unit(benchmark::kMillisecond);

// Writing it over the previous copy: temporary file, flush to the disk, rename.
void WriteCopy(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("brixel-recovery-bench-" + std::to_string(::getpid()));
  {
    RecoveryFolder recovery(folder);
    const Bytes copy = EncodeRecovery(MakeRecoveryRecord(TakeRecoverySnapshot(TenImageIcon(), nullptr, 0)));
    state.counters["bytes"] = static_cast<double>(copy.size());
    for (auto _ : state) recovery.Write(1, copy);
    recovery.Remove(1);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(WriteCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brixel::bench
