#include "ProgramIcon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "Colour.h"

namespace brixel {
namespace {

constexpr int kCells = 16;

// The design, one letter a cell: w and b are the pointer's outline and fill, drawn cell by
// cell; R, Y, G and L are swatches, each one block; anything else is the tile.
constexpr std::array<std::string_view, kCells> kDesign = {
    "................",
    "..w.............",
    "..ww.....RR.YY..",
    "..wbw....RR.YY..",
    "..wbbw..........",
    "..wbbbw..GG.LL..",
    "..wbbbbw.GG.LL..",
    "..wbbbbbw.......",
    "..wbbbbbbw......",
    "..wbbbwwww......",
    "..wbwbbw........",
    "..ww.wbbw.......",
    "..w...wbbw......",
    ".......wbbw.....",
    "........ww......",
    "................",
};

constexpr Colour Rgb(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

constexpr Colour kTile = Rgb(30, 41, 59);
constexpr Colour kWhite = Rgb(248, 250, 252);
constexpr Colour kBlue = Rgb(59, 130, 246);
constexpr Colour kRed = Rgb(239, 68, 68);
constexpr Colour kAmber = Rgb(245, 158, 11);
constexpr Colour kGreen = Rgb(34, 197, 94);

Colour CellColour(char cell) {
  switch (cell) {
    case 'w': return kWhite;
    case 'b':
    case 'L': return kBlue;
    case 'R': return kRed;
    case 'Y': return kAmber;
    case 'G': return kGreen;
    default: return kTile;
  }
}

bool IsSwatch(char cell) { return cell == 'R' || cell == 'Y' || cell == 'G' || cell == 'L'; }

char CellAt(int column, int row) {
  if (column < 0 || row < 0 || column >= kCells || row >= kCells) return '.';
  return kDesign[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

// Whether the pixel's centre lies on the tile: a square with corners rounded by a radius of
// 0.22 of its side.
bool OnTile(int x, int y, int size) {
  const double radius = 0.22 * size;
  const auto distance = [&](double centre) {
    const double near = std::clamp(centre, radius, size - radius);
    return centre - near;
  };
  const double dx = distance(x + 0.5);
  const double dy = distance(y + 0.5);
  return dx * dx + dy * dy <= radius * radius;
}

// The colour of pixel (x, y) at size, or kNoColour off the tile.
Colour PixelColour(int x, int y, int size) {
  if (!OnTile(x, y, size)) return kNoColour;
  const int cellSize = size / kCells;
  const int gap = size / 64;
  const int column = x / cellSize;
  const int row = y / cellSize;
  const int inX = x % cellSize;
  const int inY = y % cellSize;
  const char cell = CellAt(column, row);
  // A gap ends each cell on its right and lower side; a swatch keeps it only towards
  // cells that are not part of it.
  const auto parted = [&](int dx, int dy) { return !IsSwatch(cell) || CellAt(column + dx, row + dy) != cell; };
  if ((inX >= cellSize - gap && parted(1, 0)) || (inY >= cellSize - gap && parted(0, 1))) return kTile;
  return CellColour(cell);
}

}  // namespace

void DrawProgramIcon(cIco& document) {
  for (const int size : kProgramIconSizes) {
    const auto side = static_cast<std::int16_t>(size);
    document.AddImage(side, side, 24, -1);
    const auto index = static_cast<std::int16_t>(document.IconCount() - 1);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Colour colour = PixelColour(x, y, size);
        const auto fx = static_cast<float>(x);
        const auto fy = static_cast<float>(y);
        document.XYColor(index, fx, fy, colour == kNoColour ? 0 : colour);
        document.XYMask(index, fx, fy, colour == kNoColour ? MaskTransparent : MaskOpaque);
      }
    }
  }
}

}  // namespace brixel
