#include "IconSet.h"

#include <algorithm>

#include "AlphaChannel.h"
#include "IcoFile.h"
#include "PictureDecoderProcess.h"
#include "PictureImport.h"
#include "PngEntry.h"
#include "Resampling.h"
#include "SvgDrawing.h"

namespace brixel {

SquarePlace PlaceInSquare(int width, int height, int size) {
  const ScaledExtent fitted = ScaledSize(width, height, size);
  return {(size - fitted.Width) / 2, (size - fitted.Height) / 2, fitted.Width, fitted.Height};
}

RgbaPicture SquareFromPicture(const RgbaPicture& picture, int size) {
  const SquarePlace place = PlaceInSquare(picture.Width, picture.Height, size);
  return PlacedOnSquare(ScaleByArea(picture, place.Width, place.Height), size, place.Left, place.Top);
}

SquarePoint PointInSquare(int x, int y, int width, int height, int size) {
  const SquarePlace place = PlaceInSquare(width, height, size);
  const auto carry = [size](int at, int from, int to, int offset) {
    // The centre of source pixel at, (at + 1/2) * to / from, in whole numbers.
    const long long scaled = (2LL * at + 1) * to / (2LL * from);
    return static_cast<int>(std::clamp<long long>(offset + scaled, 0, size - 1));
  };
  return {carry(x, width, place.Width, place.Left), carry(y, height, place.Height, place.Top)};
}

IconImage IconSetImage(const RgbaPicture& square) {
  IconImage image = MakeNewImage(square.Width, square.Height, 32);
  FillFromRgba(image, square.Rgba.data(), true);  // alpha kept, as in a PNG entry
  image.StoredAsPng = square.Width >= kPngEntrySize;
  return image;
}

IconSetSource IconSetSquares(const std::string& path, const std::vector<int>& sizes) {
  IconSetSource source;
  const Bytes data = ReadWholeFile(path);
  if (IsSvgDrawing(data, path)) {
    // Rendered afresh at each size, never at its own, which only gives the aspect.
    RenderedDrawing drawing;
    std::string message;
    if (!RenderDrawingInDecoderProgram(data, sizes, drawing, message)) RaiseInvalidPicture(message);
    source.Width = drawing.Width;
    source.Height = drawing.Height;
    source.Warnings = std::move(drawing.Warnings);
    for (std::size_t i = 0; i < sizes.size() && i < drawing.Pictures.size(); ++i) {
      const SquarePlace place = PlaceInSquare(source.Width, source.Height, sizes[i]);
      source.Squares.push_back(
          PlacedOnSquare(RgbaFromPicture(drawing.Pictures[i]), sizes[i], place.Left, place.Top));
    }
    return source;
  }
  LoadedPicture loaded = LoadPictureFile(path);
  source.Warnings = std::move(loaded.Warnings);
  const RgbaPicture picture = RgbaFromPicture(loaded);
  source.Width = picture.Width;
  source.Height = picture.Height;
  for (const int size : sizes) source.Squares.push_back(SquareFromPicture(picture, size));
  return source;
}

IconImage IconSetImageAtDepth(const RgbaPicture& square, int bitDepth, const ReductionChoice& choice) {
  LoadedPicture picture = PictureFromRgba(square);
  DropOpaqueAlpha(picture);
  ImportOptions options;
  options.Size = square.Width;
  options.BitDepth = bitDepth;
  options.Clip = true;
  options.Reduction = choice;
  return ImageFromPreview(MakeImportPreview(picture, options), bitDepth);
}

void GiveAlphaToNewImage(IconImage& image) {
  if (image.BitDepth != 32 || !KeepAlpha() || image.IsKept()) return;
  AddAlphaFromMask(image);
  image.StoredAsPng = image.Width >= kPngEntrySize && image.Height() >= kPngEntrySize;
}

void PlaceHotSpot(IconImage& image, int x, int y, int width, int height) {
  const SquarePoint spot = PointInSquare(x, y, width, height, image.Width);
  image.xHotSpot = static_cast<std::int16_t>(spot.X);
  image.yHotSpot = static_cast<std::int16_t>(spot.Y);
}

void GiveIconDirectoryValues(IconImage& image) {
  image.xHotSpot = 1;
  image.yHotSpot = image.BitDepth;
}

Bytes BuildIconSetFile(std::vector<IconImage> images, int fileType) {
  if (fileType == 1) {
    for (IconImage& image : images) GiveIconDirectoryValues(image);
  }
  return BuildIconFile(images, fileType);
}

}  // namespace brixel
