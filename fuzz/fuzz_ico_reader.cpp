// Feeds arbitrary bytes to the icon and cursor reader, PNG-compressed entries included. Besides
// the sanitizers' checks, a file that reads must survive a save: written out and read back it
// gives the same images, entries it keeps as they are with the same bytes (and so, saved
// again, the same bytes). A file that reads has an image that can be shown. Both with the
// "Keep alpha channel" option on and off.

#include <cstddef>
#include <cstdint>

#include "AlphaChannel.h"
#include "FuzzSupport.h"
#include "IcoFile.h"
#include "cIco.h"

using namespace brixel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const Bytes input(data, data + size);
  for (const bool keep : {true, false}) {
    KeepAlpha(keep);
    cIco icon;
    if (!icon.ReadIconData(input)) continue;
    fuzz::Require(HasShownImage(icon.Images()), "a file that reads has an image that can be shown");
    // Keep the type the file says it is, so cursors stay cursors.
    const int fileType = input[2] == 1 ? 1 : 2;
    fuzz::RequireSavesAndReadsBack(icon.Images(), fileType);
  }
  KeepAlpha(true);
  return 0;
}
