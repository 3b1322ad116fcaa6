// Feeds arbitrary bytes to the icon and cursor reader. Besides the sanitizers' checks, a file
// that reads must survive a save: written out and read back it gives the same images (and so,
// saved again, the same bytes).

#include <cstddef>
#include <cstdint>

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
  fuzz::RequireSavesAndReadsBack(icon.Images(), fileType);
  return 0;
}
