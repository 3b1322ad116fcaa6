#pragma once

#include <vector>

#include "FileIO.h"
#include "IconImage.h"
#include "RgbaPicture.h"

namespace brixel {

// The sizes of an icon set unless others are asked for, and the largest an entry may have.
inline constexpr int kIconSetSizes[] = {16, 24, 32, 48, 64, 256};
inline constexpr int kLargestIconSetSize = 256;
// Entries this large are stored as PNG; smaller ones as 32-bit bitmaps with AND masks.
inline constexpr int kPngEntrySize = 256;

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

// A 32-bit image of a square picture that keeps its alpha: transparent in its mask where
// alpha is below kOpaqueAlpha, colour 0 where alpha is 0, stored as PNG when it is at least
// kPngEntrySize. Raises as MakeNewImage does for a size it cannot hold.
IconImage IconSetImage(const RgbaPicture& square);

// The icon (fileType 1) or cursor (2) file of the images, as BuildIconFile writes it; in an
// icon each directory entry also gives its planes (1) and bit count, which Windows' own
// reader compares when it picks an image: the fields a cursor's hot spot takes.
Bytes BuildIconSetFile(std::vector<IconImage> images, int fileType);

}  // namespace brixel
