// Feeds arbitrary bytes to the .icns reader: every entry kind, run-length planes, old bitmaps,
// PNG entries, JPEG 2000 data kept as it is (no decoder runs here). Besides the sanitizers'
// checks, a file that reads must survive a save: written as .icns it reads back, and its kept entries
// are in it with the same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "AlphaChannel.h"
#include "FuzzSupport.h"
#include "IcnsFile.h"

using namespace brixel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const ByteView input(data, size);
  for (const bool keep : {true, false}) {
    KeepAlpha(keep);
    std::vector<IconImage> images;
    try {
      if (!ReadIcnsImages(input, images, nullptr)) continue;
    } catch (const BackEndError&) {
      continue;
    }
    fuzz::Require(HasShownImage(images), "a file that reads has an image that can be shown");
    std::vector<std::string> leftOut;
    Bytes saved;
    try {
      saved = BuildIcnsFile(images, leftOut);
    } catch (const BackEndError&) {
      continue;  // nothing of a size .icns holds
    }
    std::vector<IconImage> again;
    fuzz::Require(ReadIcnsImages(saved, again, nullptr), "a saved file reads back");
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
