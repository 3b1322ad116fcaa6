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

void AddAlphaFromMask(IconImage& image) {
  image.Alpha = Grid(image.Width, image.Height(), 0);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width; ++x) {
      image.Alpha.At(x, y) = image.Mask.At(x, y) == MaskOpaque ? 255 : 0;
    }
  }
}

void SetMask(IconImage& image, int x, int y, std::int32_t value) {
  image.Mask.At(x, y) = value;
  if (image.Alpha.Contains(x, y)) image.Alpha.At(x, y) = value == MaskOpaque ? 255 : 0;
}

int AlphaAt(const IconImage& image, int x, int y) {
  if (image.Alpha.Contains(x, y)) return image.Alpha.At(x, y);
  return image.Mask.At(x, y) == MaskOpaque ? 255 : 0;
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
