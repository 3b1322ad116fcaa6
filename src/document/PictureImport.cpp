#include "PictureImport.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "AlphaChannel.h"
#include "ColourReduction.h"
#include "IcoFile.h"
#include "IconSet.h"
#include "ImageDocument.h"
#include "Numeric.h"
#include "Resampling.h"
#include "RgbaPicture.h"

namespace brixel {

void RaiseInvalidPicture(const std::string& reason) {
  throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                     ErrorDescription(static_cast<int>(ErrorCode::InvalidPicture)) + ": " + reason);
}

namespace {

// The colours of a picture without alpha as resampling reads them.
class ColourSource {
 public:
  explicit ColourSource(const LoadedPicture& picture) : picture_(picture) {}
  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  PixelBGR At(int x, int y) const { return PixelFromColour(picture_.Colours.At(x, y)); }

 private:
  const LoadedPicture& picture_;
};

// 255 - alpha as a grey: the white that resampling writes outside the picture reads back as
// fully transparent.
class TransparencySource {
 public:
  explicit TransparencySource(const LoadedPicture& picture) : picture_(picture) {}
  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  PixelBGR At(int x, int y) const {
    const auto clear = static_cast<std::uint8_t>(255 - picture_.AlphaAt(x, y));
    return {clear, clear, clear};
  }

 private:
  const LoadedPicture& picture_;
};

// Bilinear colours of a picture with alpha, each neighbour weighed by its alpha in floating
// point: a transparent pixel lends no colour, and a uniform area keeps its colour exactly.
class WeighedColours {
 public:
  WeighedColours(const LoadedPicture& picture, const SquarePlace& place, int size)
      : picture_(picture),
        xs_(resampling::Samples(0, static_cast<float>(picture.Width()), static_cast<float>(place.Left),
                                static_cast<float>(place.Width), picture.Width(), size)),
        ys_(resampling::Samples(0, static_cast<float>(picture.Height()), static_cast<float>(place.Top),
                                static_cast<float>(place.Height), picture.Height(), size)) {}

  // White where the picture lends nothing.
  Colour At(int x, int y) const {
    const resampling::Sample& sx = xs_[static_cast<std::size_t>(x)];
    const resampling::Sample& sy = ys_[static_cast<std::size_t>(y)];
    if (!sx.inside || !sy.inside) return kWhite;
    const float gx = 1.0f - sx.fraction;
    const float gy = 1.0f - sy.fraction;
    const struct {
      int x, y;
      float weight;
    } corners[] = {{sx.first, sy.first, gx * gy},
                   {sx.first, sy.second, gx * sy.fraction},
                   {sx.second, sy.first, sx.fraction * gy},
                   {sx.second, sy.second, sx.fraction * sy.fraction}};
    double red = 0, green = 0, blue = 0, total = 0;
    for (const auto& corner : corners) {
      const double weight = static_cast<double>(corner.weight) * picture_.AlphaAt(corner.x, corner.y);
      const Colour colour = picture_.Colours.At(corner.x, corner.y);
      red += weight * RedOf(colour);
      green += weight * GreenOf(colour);
      blue += weight * BlueOf(colour);
      total += weight;
    }
    if (total <= 0) return kWhite;
    const auto part = [total](double sum) { return static_cast<int>(std::clamp(std::nearbyint(sum / total), 0.0, 255.0)); };
    return MakeColour(part(red), part(green), part(blue));
  }

 private:
  const LoadedPicture& picture_;
  std::vector<resampling::Sample> xs_;
  std::vector<resampling::Sample> ys_;
};

bool IsOpaqueMask(Colour maskColour) { return InvertColor(maskColour) == MaskOpaque; }

}  // namespace

bool IsIconFileData(ByteView data) {
  return data.size() >= kFileHeaderSize && data[0] == 0 && data[1] == 0 &&
         (data[2] == 1 || data[2] == 2) && data[3] == 0 && (data[4] != 0 || data[5] != 0);
}

LoadedPicture PictureFromIconFile(const Bytes& data) {
  std::vector<IconImage> images;
  if (!ReadIconImages(data, images)) RaiseInvalidPicture("the file holds no image that can be read");
  // The first image that can be shown; kept entries have no pixels.
  const IconImage& image =
      *std::find_if(images.begin(), images.end(), [](const IconImage& i) { return !i.IsKept(); });
  LoadedPicture picture;
  picture.Colours = Bitmap(image.Width, image.Height(), kWhite);
  picture.Alpha.assign(picture.Colours.Pixels.size(), 0);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (image.Mask.At(x, y) != MaskOpaque) continue;
      picture.Colours.At(x, y) = image.Pixels.At(x, y) & kWhite;
      picture.Alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) +
                    static_cast<std::size_t>(x)] = 255;
    }
  }
  return picture;
}

LoadedPicture ReadPicture(const std::string& path, const PictureDecoder& decode) {
  const Bytes data = ReadWholeFile(path);
  LoadedPicture picture;
  if (IsIconFileData(data)) {
    picture = PictureFromIconFile(data);
  } else {
    std::string reason;
    if (!decode || !decode(data, path, picture, reason)) {
      RaiseInvalidPicture(reason.empty() ? "not a picture that can be read" : reason);
    }
  }
  if (picture.Empty()) RaiseInvalidPicture("the picture has no pixels");
  if (picture.Width() > kMaxPictureSide || picture.Height() > kMaxPictureSide) {
    RaiseInvalidPicture(std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
                        " pixels is larger than " + std::to_string(kMaxPictureSide) +
                        " on a side");
  }
  if (picture.HasAlpha() && picture.Alpha.size() != picture.Colours.Pixels.size()) {
    RaiseInvalidPicture("its transparency does not match its size");
  }
  DropOpaqueAlpha(picture);
  return picture;
}

void DropOpaqueAlpha(LoadedPicture& picture) {
  if (std::all_of(picture.Alpha.begin(), picture.Alpha.end(), [](std::uint8_t a) { return a == 255; })) {
    picture.Alpha.clear();
  }
}

Bitmap PictureOverBackground(const LoadedPicture& picture, Colour background) {
  Bitmap shown = picture.Colours;
  if (!picture.HasAlpha()) return shown;
  for (int y = 0; y < shown.Height; ++y) {
    for (int x = 0; x < shown.Width; ++x) {
      shown.At(x, y) = BlendOver(shown.At(x, y), picture.AlphaAt(x, y), background);
    }
  }
  return shown;
}

namespace {

// The square being made: its colours and, row by row, its alpha (255 throughout for an opaque
// result).
struct Square {
  Bitmap& colours;
  std::vector<std::uint8_t>& alpha;
  int size;
  std::uint8_t& AlphaAt(int x, int y) {
    return alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)];
  }
};

// The top-left corner at 1:1; beyond the picture the band.
void ClipInto(Square& square, const LoadedPicture& picture) {
  for (int x = 0; x < square.size; ++x) {
    for (int y = 0; y < square.size; ++y) {
      const bool inside = x < picture.Width() && y < picture.Height();
      square.AlphaAt(x, y) = static_cast<std::uint8_t>(inside ? picture.AlphaAt(x, y) : picture.HasAlpha() ? 0 : 255);
      if (inside) square.colours.At(x, y) = picture.Colours.At(x, y);
    }
  }
}

// Area averaging into place; the band transparent or opaque white.
void AverageInto(Square& square, const LoadedPicture& picture, const SquarePlace& place, bool transparent) {
  const RgbaPicture small = ScaleByArea(RgbaFromPicture(picture), place.Width, place.Height);
  for (int y = 0; y < square.size; ++y) {
    for (int x = 0; x < square.size; ++x) {
      const int sx = x - place.Left;
      const int sy = y - place.Top;
      if (sx < 0 || sy < 0 || sx >= small.Width || sy >= small.Height) {
        square.AlphaAt(x, y) = transparent ? 0 : 255;
        continue;
      }
      const std::uint8_t* p = small.At(sx, sy);
      square.AlphaAt(x, y) = p[3];
      if (p[3] > 0) square.colours.At(x, y) = MakeColour(p[0], p[1], p[2]);
    }
  }
}

// Bilinear sampling into place; the band transparent or opaque white.
void SampleInto(Square& square, const LoadedPicture& picture, const SquarePlace& place, bool transparent) {
  const auto resample = [&](const auto& source) {
    PixelArray target(square.size, square.size);
    ResampleBilinear(source, target, 0, 0, static_cast<float>(picture.Width()), static_cast<float>(picture.Height()),
                     static_cast<float>(place.Left), static_cast<float>(place.Top),
                     static_cast<float>(place.Width), static_cast<float>(place.Height));
    return target;
  };
  if (!transparent) {
    square.colours = BitmapFromPixels(resample(ColourSource(picture)));
    return;
  }
  const PixelArray clear = resample(TransparencySource(picture));
  const WeighedColours weighed(picture, place, square.size);
  for (int y = 0; y < square.size; ++y) {
    for (int x = 0; x < square.size; ++x) {
      const int a = 255 - clear.At(x, y).Blue;
      square.AlphaAt(x, y) = static_cast<std::uint8_t>(a);
      if (a > 0) square.colours.At(x, y) = weighed.At(x, y);
    }
  }
}

}  // namespace

ImportPreview MakeImportPreview(const LoadedPicture& picture, const ImportOptions& options) {
  const int size = std::max(options.Size, 1);
  ImportPreview preview{Bitmap(size, size, kWhite), Bitmap(size, size, kWhite), {}};
  const bool keepAlpha = options.BitDepth == 32;
  std::vector<std::uint8_t> alpha(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 255);
  Square square{preview.Picture, alpha, size};
  if (picture.Empty()) {
    // A blank preview.
  } else if (options.Clip) {
    ClipInto(square, picture);
  } else {
    // Where the resized picture lies; outside it the band, transparent when fitted.
    const ScaledExtent scaled = ScaledSize(picture.Width(), picture.Height(), size);
    const SquarePlace place = options.KeepProportions ? PlaceInSquare(picture.Width(), picture.Height(), size)
                                                      : SquarePlace{0, 0, scaled.Width, scaled.Height};
    const bool transparent = picture.HasAlpha() || options.KeepProportions;
    if (options.Smooth) AverageInto(square, picture, place, transparent);
    else SampleInto(square, picture, place, transparent);
  }
  // Pixels below the threshold are transparent in the mask; only 32 bits keep their colour.
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int a = square.AlphaAt(x, y);
      if (a >= kOpaqueAlpha) continue;
      preview.Mask.At(x, y) = kBlack;
      if (!keepAlpha || a == 0) preview.Picture.At(x, y) = kWhite;
    }
  }
  if (keepAlpha) preview.Alpha = std::move(alpha);
  ReduceColours(preview.Picture, options.BitDepth, options.Reduction, &preview.Mask);
  return preview;
}

LoadedPicture PictureOfImage(const IconImage& image) {
  LoadedPicture picture = PictureFromRgba(RgbaFromImage(image));
  DropOpaqueAlpha(picture);
  return picture;
}

ImportPreview MakeCopyPreview(const IconImage& image, ImportOptions options) {
  if (image.Width == options.Size && image.Height() == options.Size) options.Clip = true;
  return MakeImportPreview(PictureOfImage(image), options);
}

std::int16_t ScaledHotSpot(int hot, int fromSide, int toSide) {
  if (fromSide <= 0) return 0;
  const long long scaled = static_cast<long long>(hot) * toSide / fromSide;
  return static_cast<std::int16_t>(std::clamp<long long>(scaled, 0, std::max(toSide - 1, 0)));
}

std::vector<Colour> DistinctColoursByColumn(const Bitmap& picture, const Bitmap* mask) {
  std::vector<Colour> colours;
  std::unordered_set<Colour> seen;
  for (int x = 0; x < picture.Width; ++x) {
    for (int y = 0; y < picture.Height; ++y) {
      if (mask && !(mask->Width > x && mask->Height > y && IsOpaqueMask(mask->At(x, y)))) continue;
      const Colour colour = picture.At(x, y);
      if (seen.insert(colour).second) colours.push_back(colour);
    }
  }
  return colours;
}

void EnsureBlackForTransparent(IconImage& image) {
  if (image.BitDepth != 1 && image.BitDepth != 4 && image.BitDepth != 8) return;
  if (image.Palette.empty()) return;
  if (std::find(image.Palette.begin(), image.Palette.end(), kBlack) != image.Palette.end()) return;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (image.Mask.At(x, y) != MaskOpaque) {
        image.Palette.back() = kBlack;
        return;
      }
    }
  }
}

void StorePictureInImage(IconImage& image, const Bitmap& picture, const Bitmap& mask) {
  if (picture.Width < image.Width || picture.Height < image.Height() ||
      mask.Width < image.Width || mask.Height < image.Height()) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
  for (int x = 0; x < image.Width; ++x) {
    for (int y = 0; y < image.Height(); ++y) {
      const std::int32_t value = InvertColor(mask.At(x, y));
      image.Mask.At(x, y) = value;
      image.Pixels.At(x, y) = value != MaskOpaque ? kBlack : picture.At(x, y);
    }
  }
}

IconImage ImageFromPreview(const ImportPreview& preview, int bitDepth) {
  const int size = preview.Picture.Width;
  IconImage image = MakeNewImage(size, size, bitDepth);
  const std::vector<Colour> colours = DistinctColoursByColumn(preview.Picture, &preview.Mask);
  const std::size_t count = std::min(colours.size(), image.Palette.size());
  std::copy_n(colours.begin(), count, image.Palette.begin());
  StorePictureInImage(image, preview.Picture, preview.Mask);
  EnsureBlackForTransparent(image);
  if (bitDepth == 32 && KeepAlpha() && preview.Alpha.size() == preview.Picture.Pixels.size()) {
    // As an image read with alpha: a pixel keeps its colour unless its alpha is 0.
    image.Alpha = Grid(size, size, 0);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int a = preview.Alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                                    static_cast<std::size_t>(x)];
        image.Alpha.At(x, y) = a;
        image.Pixels.At(x, y) = a == 0 ? kBlack : preview.Picture.At(x, y);
      }
    }
    image.StoredAsPng = size >= kPngEntrySize;
  }
  return image;
}

std::int16_t AppendImportedImage(ImageDocument& document, const ImportPreview& preview,
                                 int bitDepth) {
  document.AppendImage(ImageFromPreview(preview, bitDepth));
  return static_cast<std::int16_t>(document.IconCount() - 1);
}

}  // namespace brixel
