// Feeds arbitrary bytes to the icon and cursor reader. Besides the sanitizers' checks, a file
// that reads must survive a save: written out and read back it gives the same images, and
// writing those again gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "FuzzSupport.h"
#include "IcoFile.h"
#include "cIco.h"

using namespace brixel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const Bytes input(data, data + size);
  cIco icon;
  if (!icon.ReadIconData(input)) return 0;

  // Keep the type the file says it is, so cursors stay cursors.
  const int fileType = input[2] == 1 ? 1 : 2;
  Bytes saved;
  try {
    saved = BuildIconFile(icon.Images(), fileType);
  } catch (const BackEndError& e) {
    std::fprintf(stderr, "saving what was read failed: %s\n", e.what());
    fuzz::Require(false, "images that were read can be saved");
  }

  cIco reread;
  fuzz::Require(reread.ReadIconData(saved), "a saved file reads back");
  fuzz::Require(reread.Images() == icon.Images(), "a saved file reads back as the same images");
  fuzz::Require(BuildIconFile(reread.Images(), fileType) == saved,
                "saving the images read back gives the same bytes");
  return 0;
}
