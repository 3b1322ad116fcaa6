#pragma once

#include <string>
#include <vector>

#include "ColourReduction.h"
#include "FileIO.h"
#include "IconImage.h"
#include "RgbaPicture.h"

namespace brixel {

// The sizes of an icon set unless others are asked for, and the largest an entry may have.
inline constexpr int kIconSetSizes[] = {16, 24, 32, 48, 64, 256};
inline constexpr int kLargestIconSetSize = 256;
// Entries this large are stored as PNG; smaller ones as 32-bit bitmaps with AND masks.
inline constexpr int kPngEntrySize = 256;

// A square size and a colour depth of an image of a set.
struct IconSetEntry {
  int Size = 0;
  int BitDepth = 0;
  friend bool operator==(const IconSetEntry&, const IconSetEntry&) = default;
};
// What Windows picks from: 16, 24, 32, 48 and 256 at 32 bits, and 8-bit images at 16, 32 and
// 48 for displays of fewer colours.
inline constexpr IconSetEntry kWindowsIconSet[] = {{16, 32}, {24, 32}, {32, 32}, {48, 32},
                                                   {256, 32}, {16, 8},  {32, 8},  {48, 8}};

// Where a width x height picture lies in a size x size square: fitted with its aspect kept
// (ScaledSize) and centred, any odd pixel left over going right or below.
struct SquarePlace {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};
SquarePlace PlaceInSquare(int width, int height, int size);

// The picture fitted into a size x size transparent square where PlaceInSquare puts it,
// resampled from the picture itself by area averaging.
RgbaPicture SquareFromPicture(const RgbaPicture& picture, int size);

// A point of a width x height picture carried into its size x size square: the square's pixel
// that holds the centre of the picture's pixel (x, y), kept inside the square.
struct SquarePoint {
  int X = 0;
  int Y = 0;
};
SquarePoint PointInSquare(int x, int y, int width, int height, int size);

// Puts a cursor image's hot spot where the point (x, y) of the width x height picture lands in
// the image's square (PointInSquare).
void PlaceHotSpot(IconImage& image, int x, int y, int width, int height);

// Gives an icon's image the planes (1) and bit count its directory entry holds, in the fields
// a cursor's hot spot takes; Windows' own reader compares them when it picks an image.
void GiveIconDirectoryValues(IconImage& image);

// A 32-bit image of a square picture that keeps its alpha: transparent in its mask where
// alpha is below kOpaqueAlpha, colour 0 where alpha is 0, stored as PNG when it is at least
// kPngEntrySize. Raises as MakeNewImage does for a size it cannot hold.
IconImage IconSetImage(const RgbaPicture& square);

// The squares of an icon set, one per size, from a picture file: a picture read once and
// fitted into each square by area averaging (SquareFromPicture), an SVG drawing rendered
// afresh at each size and centred. Width and Height are the picture's own size. Raises as
// LoadPictureFile does, Invalid picture (481) for a drawing that cannot be rendered.
struct IconSetSource {
  std::vector<RgbaPicture> Squares;
  int Width = 0;
  int Height = 0;
  std::vector<std::string> Warnings;  // what of the picture was left out
};
IconSetSource IconSetSquares(const std::string& path, const std::vector<int>& sizes);

// An image of a square at a depth as import makes it from the square at 1:1: 32 bits keep the
// alpha while KeepAlpha is on (PNG from kPngEntrySize), lower depths are reduced with the
// choice and are transparent where alpha is below kOpaqueAlpha.
IconImage IconSetImageAtDepth(const RgbaPicture& square, int bitDepth, const ReductionChoice& choice);

// A new 32-bit image keeps alpha as an image read with alpha does while KeepAlpha is on: it
// starts fully transparent, and from kPngEntrySize on it is stored as PNG. Any other image
// is left as it is.
void GiveAlphaToNewImage(IconImage& image);

// The icon (fileType 1) or cursor (2) file of the images, as BuildIconFile writes it; in an
// icon each directory entry also gives its planes and bit count (GiveIconDirectoryValues).
Bytes BuildIconSetFile(std::vector<IconImage> images, int fileType);

}  // namespace brixel
