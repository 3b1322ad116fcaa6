#include "PictureImport.h"

#include <algorithm>
#include <unordered_set>

#include "AlphaChannel.h"
#include "ColourReduction.h"
#include "IcoFile.h"
#include "ImageDocument.h"
#include "Numeric.h"
#include "Resampling.h"

namespace brixel {

void RaiseInvalidPicture(const std::string& reason) {
  throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                     ErrorDescription(static_cast<int>(ErrorCode::InvalidPicture)) + ": " + reason);
}

namespace {

std::uint8_t Premultiply(int part, int alpha) {
  return static_cast<std::uint8_t>((part * alpha + 127) / 255);
}

// The picture's colours as resampling reads them; with alpha, premultiplied, so that a
// transparent pixel's own colour does not bleed into its neighbours.
class ColourSource {
 public:
  explicit ColourSource(const LoadedPicture& picture) : picture_(picture) {}
  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  PixelBGR At(int x, int y) const {
    const Colour colour = picture_.Colours.At(x, y);
    if (!picture_.HasAlpha()) return PixelFromColour(colour);
    const int alpha = picture_.AlphaAt(x, y);
    return {Premultiply(BlueOf(colour), alpha), Premultiply(GreenOf(colour), alpha),
            Premultiply(RedOf(colour), alpha)};
  }

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

std::uint8_t Unpremultiply(std::uint8_t part, int alpha) {
  return static_cast<std::uint8_t>(std::min(255, (part * 255 + alpha / 2) / alpha));
}

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

ImportPreview MakeImportPreview(const LoadedPicture& picture, const ImportOptions& options) {
  const int size = std::max(options.Size, 1);
  ImportPreview preview{Bitmap(size, size, kWhite), Bitmap(size, size, kWhite)};
  if (picture.Empty()) return preview;
  const bool alpha = picture.HasAlpha();
  if (options.Clip) {
    for (int x = 0; x < size; ++x) {
      for (int y = 0; y < size; ++y) {
        const bool inside = x < picture.Width() && y < picture.Height();
        const bool opaque = inside ? picture.AlphaAt(x, y) >= kOpaqueAlpha : !alpha;
        preview.Picture.At(x, y) = inside && opaque ? picture.Colours.At(x, y) : kWhite;
        preview.Mask.At(x, y) = opaque ? kWhite : kBlack;
      }
    }
  } else {
    const ScaledExtent scaled = ScaledSize(picture.Width(), picture.Height(), size);
    const auto resample = [&](const auto& source) {
      PixelArray target(size, size);
      ResampleBilinear(source, target, 0, 0, static_cast<float>(picture.Width()),
                       static_cast<float>(picture.Height()), 0, 0,
                       static_cast<float>(scaled.Width), static_cast<float>(scaled.Height));
      return target;
    };
    const PixelArray colours = resample(ColourSource(picture));
    if (!alpha) {
      preview.Picture = BitmapFromPixels(colours);
    } else {
      const PixelArray clear = resample(TransparencySource(picture));
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const int a = 255 - clear.At(x, y).Blue;
          if (a < kOpaqueAlpha) {
            preview.Mask.At(x, y) = kBlack;
            continue;
          }
          const PixelBGR p = colours.At(x, y);
          preview.Picture.At(x, y) =
              MakeColour(Unpremultiply(p.Red, a), Unpremultiply(p.Green, a), Unpremultiply(p.Blue, a));
        }
      }
    }
  }
  ReduceColours(preview.Picture, options.BitDepth);
  return preview;
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

std::int16_t AppendImportedImage(ImageDocument& document, const ImportPreview& preview,
                                 int bitDepth) {
  const int size = preview.Picture.Width;
  document.AddImage(ToInt16(size), ToInt16(size), ToInt16(bitDepth), -1);
  const auto index = static_cast<std::int16_t>(document.IconCount() - 1);
  try {
    IconImage& image = document.Image(index);
    const std::vector<Colour> colours = DistinctColoursByColumn(preview.Picture, &preview.Mask);
    const std::size_t count = std::min(colours.size(), image.Palette.size());
    std::copy_n(colours.begin(), count, image.Palette.begin());
    StorePictureInImage(image, preview.Picture, preview.Mask);
    EnsureBlackForTransparent(image);
  } catch (...) {
    document.DeleteImage(index);
    throw;
  }
  return index;
}

}  // namespace brixel
