// Feeds arbitrary bytes to the Xcursor reader. Besides the sanitizers' checks: every image
// read has its sides and hot spot within bounds and all of them no more pixels than the file
// has bytes for; what reads becomes a Windows cursor holding each image once, whose colours,
// written as an Xcursor file again, are the file's wherever they were premultiplied (no part
// above the alpha); and that cursor saves as a cursor or animated cursor and reads back the same.

#include <cstddef>
#include <cstdint>

#include "AniFile.h"
#include "ErrorReport.h"
#include "FuzzSupport.h"
#include "XcursorCursor.h"
#include "XcursorFile.h"
#include "XcursorReader.h"
#include "cAni.h"

using namespace brixel;

namespace {

bool Premultiplied(std::uint32_t argb) {
  const std::uint32_t alpha = argb >> 24;
  return ((argb >> 16) & 0xFF) <= alpha && ((argb >> 8) & 0xFF) <= alpha && (argb & 0xFF) <= alpha;
}

void RequireColoursComeBack(const XcursorImageData& read) {
  const IconImage image = IconImageFromXcursor(read);
  for (int y = 0; y < read.Height; ++y) {
    for (int x = 0; x < read.Width; ++x) {
      const std::uint32_t argb = read.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(read.Width) +
                                             static_cast<std::size_t>(x)];
      if (Premultiplied(argb)) fuzz::Require(XcursorArgb(image, x, y) == argb, "premultiplied colours come back");
    }
  }
}

// An icon or cursor file cannot tell a 32-bit image whose alpha is 0 everywhere from one
// without alpha (its AND mask then says what shows): such an image reads back as fully
// transparent, without its alpha grid, and is left out of the comparison.
bool WhollyTransparent(const IconImage& image) {
  if (!image.CarriesAlpha()) return false;
  for (int y = 0; y < image.Alpha.Rows(); ++y) {
    for (int x = 0; x < image.Alpha.Columns(); ++x) {
      if (image.Alpha.At(x, y) != 0) return false;
    }
  }
  return true;
}

bool FitsACursorFile(const std::vector<IconImage>& images) {
  if (images.size() > 255) return false;
  for (const IconImage& image : images) {
    if (image.xHotSpot > 255 || image.yHotSpot > 255 || WhollyTransparent(image)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  const Bytes input(data, data + size);
  std::vector<XcursorImageData> images;
  try {
    images = ReadXcursorFile(input);
  } catch (const BackEndError&) {
    return 0;
  }
  fuzz::Require(!images.empty(), "a file that reads has an image");
  std::uint64_t pixels = 0;
  for (const XcursorImageData& image : images) {
    fuzz::Require(image.Width >= 1 && image.Height >= 1 && image.Width <= 0x7FFF && image.Height <= 0x7FFF,
                  "sides of 1 to 32767 pixels");
    fuzz::Require(image.xHot >= 0 && image.yHot >= 0 && image.xHot <= image.Width && image.yHot <= image.Height,
                  "hot spots inside their images");
    fuzz::Require(image.Pixels.size() == static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height),
                  "every pixel of an image read");
    pixels += image.Pixels.size();
    RequireColoursComeBack(image);
  }
  fuzz::Require(4 * pixels <= size, "no more pixels than the file has bytes for");

  XcursorAsCursor cursor;
  try {
    cursor = CursorFromXcursor(images);
  } catch (const BackEndError&) {
    fuzz::Require(images.size() > 32767, "only more images than an animated cursor holds fail to convert");
    return 0;
  }
  std::size_t converted = 0;
  for (const auto& frame : cursor.Frames) converted += frame.size();
  fuzz::Require(converted == images.size(), "the cursor holds every image once");
  fuzz::Require(cursor.Rates.size() == (cursor.Animated() ? cursor.Frames.size() : 0), "a rate for each step");

  if (!cursor.Animated()) {
    const std::unique_ptr<cIco> still = StillCursorDocument(cursor);
    if (FitsACursorFile(still->Images())) fuzz::RequireSavesAndReadsBack(still->Images(), 2);
    return 0;
  }
  for (const auto& frame : cursor.Frames) {
    if (!FitsACursorFile(frame)) return 0;
  }
  const std::unique_ptr<cAni> animated = AnimatedCursorDocument(cursor);
  cAni reread;
  fuzz::Require(reread.ReadAniData(BuildAniFile(animated->Images(), animated->Info())), "the animated cursor reads back");
  fuzz::Require(reread.Images() == animated->Images() && reread.Steps() == animated->Steps(),
                "the animated cursor reads back with the same frames and steps");
  return 0;
}
