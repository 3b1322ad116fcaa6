// Feeds arbitrary bytes to the animated cursor reader. Besides the sanitizers' checks: a file
// that fails changes nothing; one that reads keeps its step lists within what the header
// claims; its frames, saved as an icon file (what brixel-cli convert writes), read back as
// the same images; and it saves as an animated cursor that reads back with the same frames,
// steps and texts (entries it keeps as they are with the same bytes) and saves again to the
// same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "FuzzSupport.h"
#include "AniFile.h"
#include "ErrorReport.h"
#include "IcoFile.h"
#include "cAni.h"
#include "cIco.h"

using namespace brixel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const Bytes input(data, data + size);
  cAni cursor;
  if (!cursor.ReadAniData(input)) {
    fuzz::Require(cursor.IconCount() == 0 && cursor.Sequence().empty() && cursor.CursorName().empty(),
                  "a file that fails to read leaves the document as it was");
    return 0;
  }
  fuzz::Require(HasShownImage(cursor.Images()), "a cursor that reads has an image that can be shown");
  const std::int32_t steps = cursor.Header().StepCount;
  fuzz::Require(cursor.Sequence().size() <= static_cast<std::size_t>(steps < 0 ? 0 : steps) &&
                    cursor.Rates().size() <= static_cast<std::size_t>(steps < 0 ? 0 : steps),
                "the step lists hold no more values than the header's step count");
  fuzz::Require(4 * (cursor.Sequence().size() + cursor.Rates().size()) <= size,
                "the step lists hold no more values than the file");
  fuzz::Require(cursor.ChunkPositions().Anih < size && cursor.ChunkPositions().FirstList < size,
                "chunk positions lie inside the file");

  Bytes saved;
  try {
    saved = BuildAniFile(cursor.Images(), cursor.Info());
  } catch (const BackEndError& e) {
    std::fprintf(stderr, "saving what was read failed: %s\n", e.what());
    fuzz::Require(false, "an animated cursor that was read can be saved");
  }
  cAni reread;
  fuzz::Require(reread.ReadAniData(saved), "a saved animated cursor reads back");
  fuzz::Require(reread.Images() == cursor.Images() && reread.FrameSizes() == cursor.FrameSizes(),
                "a saved animated cursor reads back with the same frames");
  fuzz::Require(reread.Steps() == cursor.Steps() && reread.Header().DisplayRate == cursor.Header().DisplayRate,
                "a saved animated cursor reads back with the same steps");
  fuzz::Require(reread.CursorName() == cursor.CursorName() && reread.CursorArtist() == cursor.CursorArtist() &&
                    reread.CursorCopy() == cursor.CursorCopy(),
                "a saved animated cursor reads back with the same texts");
  fuzz::Require(BuildAniFile(reread.Images(), reread.Info()) == saved, "a second save writes the same bytes");

  if (cursor.IconCount() > 255) return 0;  // more than an icon file can hold
  fuzz::RequireSavesAndReadsBack(cursor.Images(), 2);
  return 0;
}
