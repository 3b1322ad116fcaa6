#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Colour.h"
#include "ColourReduction.h"
#include "FileIO.h"
#include "IconImage.h"
#include "PictureSurface.h"

namespace brixel {

class ImageDocument;

// Pictures larger than this on a side are refused: a few hundred bytes of a metafile or a
// PNG header may declare any size.
inline constexpr int kMaxPictureSide = 8192;
// Pixels whose alpha is below this are imported as transparent.
inline constexpr int kOpaqueAlpha = 128;

// A picture read for import: its colours and, when the file has transparency, an alpha value
// (0 .. 255) per pixel, row by row. Without alpha every pixel is opaque.
struct LoadedPicture {
  Bitmap Colours;
  std::vector<std::uint8_t> Alpha;
  std::vector<std::string> Warnings;  // what of the picture was left out, and why

  bool Empty() const { return Colours.Empty(); }
  int Width() const { return Colours.Width; }
  int Height() const { return Colours.Height; }
  bool HasAlpha() const { return !Alpha.empty(); }
  int AlphaAt(int x, int y) const {
    return HasAlpha() ? Alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                              static_cast<std::size_t>(x)]
                      : 255;
  }
};

// Reads the bytes of a picture that is not an icon file (path for its extension): true with
// the picture, or false with a message saying why it cannot be read.
using PictureDecoder = std::function<bool(const Bytes& data, const std::string& path,
                                          LoadedPicture& picture, std::string& message)>;

// The decoders of the editor as a program of their own, for programs that link no Qt (looked
// for beside them).
inline constexpr const char* kPictureDecoderProgram = "brixel-picture-decoder";

// Whether the bytes start like an icon or cursor file.
bool IsIconFileData(ByteView data);

// The first image of an icon or cursor file that can be shown (kept entries are passed over)
// with its mask applied: opaque pixels in their colour with alpha 255, every other pixel white
// with alpha 0. Raises BackEndError.
LoadedPicture PictureFromIconFile(const Bytes& data);

// Raises Invalid picture (481) with the reason.
[[noreturn]] void RaiseInvalidPicture(const std::string& reason);

// Reads a picture file for import: icon and cursor files through our own reader, any other
// through decode. Raises BackEndError: the file's own error, or Invalid picture (481) with the
// reason for data that cannot be read and for a picture larger than kMaxPictureSide on a side.
// A picture whose alpha is 255 throughout comes back without alpha.
LoadedPicture ReadPicture(const std::string& path, const PictureDecoder& decode);

// A picture whose alpha is 255 throughout loses it: it imports as one without.
void DropOpaqueAlpha(LoadedPicture& picture);

// The picture as it shows on a surface: transparency blended over the background.
Bitmap PictureOverBackground(const LoadedPicture& picture, Colour background);

struct ImportOptions {
  ImportOptions() = default;
  // The choices of the dialog's three lists; the later ones keep their defaults.
  ImportOptions(int size, int bitDepth, bool clip) : Size(size), BitDepth(bitDepth), Clip(clip) {}

  int Size = 16;      // the new image is Size x Size
  int BitDepth = 24;  // 1, 4, 8, 24 or 32
  bool Clip = false;  // the top-left corner at 1:1 instead of the whole picture resized
  // Resized pictures only: fitted inside the square and centred (PlaceInSquare), the rest
  // of the square transparent, instead of at the top left beside a white band.
  bool KeepProportions = false;
  // Resized pictures only: area averaging (ScaleByArea) instead of bilinear sampling, for
  // pictures shrunk by more than half.
  bool Smooth = false;
  ReductionChoice Reduction;

  friend bool operator==(const ImportOptions&, const ImportOptions&) = default;
};

// The new image as previewed: its colours, and its mask picture (white where opaque, black
// where transparent), both Size x Size; at 32 bits also an alpha (0 .. 255) per pixel, row by
// row, which the picture's colours are straight (not premultiplied) against.
struct ImportPreview {
  Bitmap Picture;
  Bitmap Mask;
  std::vector<std::uint8_t> Alpha;
};

// Resize: the whole picture resampled bilinearly into the square with its aspect kept, the
// rest of the square a white band. Clip: the top-left Size x Size corner, white beyond the
// picture. A picture without alpha is opaque throughout, band included; in one with alpha,
// pixels below kOpaqueAlpha (and the band) are transparent and show white. The colours are
// then reduced to the depth's table. Without a picture the preview is blank (white, opaque).
// Resampling weighs colours by alpha. At 32 bits the alpha is kept as well: a pixel below
// kOpaqueAlpha keeps its colour unless its alpha is 0, and Clip keeps every alpha exactly.
ImportPreview MakeImportPreview(const LoadedPicture& picture, const ImportOptions& options);

// An image as a picture to import: its colours with the alpha it shows with (AlphaAt), alpha
// dropped when it is 255 throughout.
LoadedPicture PictureOfImage(const IconImage& image);

// The preview of a copy of image at the options' size: the image taken as a picture to
// import, copied unchanged (Clip) when it already has that square size.
ImportPreview MakeCopyPreview(const IconImage& image, ImportOptions options);

// A hot spot of an image of one side carried to an image of another, kept inside it.
std::int16_t ScaledHotSpot(int hot, int fromSide, int toSide);

// The distinct colours of a picture in the order met scanning column by column (x outer, y
// inner); with a mask picture, only those of pixels the mask shows opaque (white).
std::vector<Colour> DistinctColoursByColumn(const Bitmap& picture, const Bitmap* mask = nullptr);

// Gives a paletted image whose transparent pixels (colour 0) would find no black entry one:
// its last entry. Entries are set without recolouring pixels.
void EnsureBlackForTransparent(IconImage& image);

// Reads an image back from a colour picture and a mask picture as SaveIconFromPic reads its
// surfaces: the mask is InvertColor of the mask picture, every pixel that is not opaque black.
// Both pictures cover the image.
void StorePictureInImage(IconImage& image, const Bitmap& picture, const Bitmap& mask);

// Appends the previewed image to the document: a new Size x Size image of the depth, its
// palette from the preview's opaque colours in first-seen order (as many as it holds), its
// pixels and mask from the preview, black kept for transparent pixels. At 32 bits while
// KeepAlpha is on the image keeps the preview's alpha, and one of kPngEntrySize or more is
// stored as PNG. Returns the new image's index. Raises as AddImage does, appending nothing
// then. ImageFromPreview makes that image without a document.
IconImage ImageFromPreview(const ImportPreview& preview, int bitDepth);
std::int16_t AppendImportedImage(ImageDocument& document, const ImportPreview& preview,
                                 int bitDepth);

}  // namespace brixel
