#include "IconImage.h"

#include "Numeric.h"
#include "Palette.h"

namespace brixel {

void SizeGrids(IconImage& image) {
  const int width = image.Width;
  const int height = image.Height();
  const int w32 = W32(width);
  image.Pixels = Grid(image.BitDepth == 1 ? w32 : width, height, kBlack);
  image.Mask = Grid(w32, height, MaskOpaque);
}

IconImage MakeNewImage(int width, int height, int bitDepth) {
  if (width < 1 || height < 1 || !IsSupportedDepth(bitDepth)) Raise(ErrorCode::InvalidArgument);
  IconImage image;
  image.Width = ToInt16(width);
  image.DibHeight = ToInt16(2LL * height);
  image.BitDepth = static_cast<std::int16_t>(bitDepth);
  SizeGrids(image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.Mask.At(x, y) = MaskTransparent;
  }
  if (bitDepth == 1) {
    image.Palette = {kBlack, kWhite};
  } else {
    image.Palette.resize(static_cast<std::size_t>(PaletteSizeFor(bitDepth)));
    GetNewPalette(image.Palette);
  }
  return image;
}

}  // namespace brixel
