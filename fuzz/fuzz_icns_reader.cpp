// Feeds arbitrary bytes to the .icns reader: every entry kind, run-length planes, old bitmaps,
// PNG entries, JPEG 2000 data kept as it is (no decoder runs here). Besides the sanitizers'
// checks, a thumbnail (which reads only the side it shows) must show the image the whole read
// would, and a file that reads must survive a save: written as .icns it reads back (unless every image
// was left out), and its kept entries are in it with the same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "AlphaChannel.h"
#include "FuzzSupport.h"
#include "IcnsFile.h"
#include "Thumbnail.h"

using namespace brixel;

namespace {
constexpr std::size_t kLargestRewritten = 128 * 128 * 2;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const ByteView input(data, size);
  for (const bool keep : {true, false}) {
    KeepAlpha(keep);
    std::vector<IconImage> images;
    std::vector<IcnsEntry> others;
    try {
      if (!ReadIcnsImages(input, images, nullptr, &others)) continue;
    } catch (const BackEndError&) {
      continue;
    }
    fuzz::Require(HasShownImage(images), "a file that reads has an image that can be shown");
    // A thumbnail reads only the side it shows, and must show what the whole read would.
    for (const int size : {1, 20, 64, 300, 2000}) {
      const std::vector<IconImage> part = ThumbnailImages(input, size, nullptr);
      const IconImage& chosen = images[ThumbnailImageIndex(images, size)];
      fuzz::Require(!part.empty() && part[ThumbnailImageIndex(part, size)] == chosen,
                    "a thumbnail shows the image the whole read would");
    }
    // Compressing large PNG entries again takes most of a second under the sanitizers; the
    // writer is what the tests check for them.
    std::size_t pixels = 0;
    for (const IconImage& image : images) pixels += static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height());
    if (pixels > kLargestRewritten) continue;
    std::vector<std::string> leftOut;
    Bytes saved;
    try {
      saved = BuildIcnsFile(images, leftOut, others);
    } catch (const BackEndError&) {
      continue;  // nothing of a size .icns holds
    }
    // Unless every image was left out, the file written has one to show.
    const auto shown = static_cast<std::size_t>(
        std::count_if(images.begin(), images.end(), [](const IconImage& image) { return !image.IsKept(); }));
    std::vector<IconImage> again;
    std::vector<IcnsEntry> othersAgain;
    bool readBack = false;
    try {
      readBack = ReadIcnsImages(saved, again, nullptr, &othersAgain);
    } catch (const BackEndError&) {
    }
    fuzz::Require(readBack || leftOut.size() >= shown, "a saved file with an image reads back");
    fuzz::Require(!readBack || othersAgain == others, "the entries without images come back as they were");
    for (const IconImage& image : images) {
      if (!image.IsKept()) continue;
      const Bytes& block = image.Kept.entry->block;
      fuzz::Require(std::search(saved.begin(), saved.end(), block.begin(), block.end()) != saved.end(),
                    "a kept entry is written back unchanged");
    }
  }
  KeepAlpha(true);
  return 0;
}
