#include "Rendering.h"

#include <cmath>

#include "AlphaChannel.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

// The image's grids must hold every pixel the procedures visit.
void CheckGrids(const IconImage& image) {
  if (!GridsCoverPicture(image)) Raise(ErrorCode::SubscriptOutOfRange);
}

// A surface too small for the image would read as -1 ("no colour") outside.
void CheckCovers(const PictureSurface& surface, const IconImage& image) {
  if (image.Width <= 0 || image.Height() <= 0) return;
  if (surface.Point(static_cast<float>(image.Width - 1), static_cast<float>(image.Height() - 1)) == -1) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
}

template <class Visit>
void ForEachPixel(const IconImage& image, Visit&& visit) {
  for (int x = 0; x < image.Width; ++x) {
    for (int y = 0; y < image.Height(); ++y) visit(x, y, static_cast<float>(x), static_cast<float>(y));
  }
}

// An image that keeps alpha, read back from surfaces DrawIconEx drew it on: a pixel whose
// mask and shown colour are what was drawn is untouched and keeps its colour and alpha. Any
// other pixel is read as the plain procedure reads it, its alpha following its new mask.
void ReadBackWithAlpha(PictureSurface& picture, IconImage& image, PictureSurface* maskPicture) {
  if (maskPicture) CheckCovers(*maskPicture, image);
  const Colour background = picture.BackColor();
  ForEachPixel(image, [&](int x, int y, float fx, float fy) {
    const std::int32_t mask =
        maskPicture ? InvertColor(maskPicture->Point(fx, fy)) : image.Mask.At(x, y);
    const Colour shown = picture.Point(fx, fy);
    if (mask == image.Mask.At(x, y) &&
        shown == BlendOver(image.Pixels.At(x, y), AlphaAt(image, x, y), background)) {
      return;
    }
    SetMask(image, x, y, mask);
    image.Pixels.At(x, y) = mask != MaskOpaque ? kBlack : shown;
  });
}

int CellSize(float extent, int cells) {
  return static_cast<int>(std::nearbyint(extent / static_cast<float>(cells)));
}

}  // namespace

void DrawKeptPlaceholder(PictureSurface& picture, int width, int height) {
  const Colour edge = MakeColour(128, 128, 128);
  const Colour hatch = MakeColour(176, 176, 176);
  const Colour ground = MakeColour(224, 224, 224);
  picture.Cls();
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      picture.PSet(static_cast<float>(x), static_cast<float>(y),
                   border ? edge : (x + y) % 6 == 0 ? hatch : ground);
    }
  }
  picture.Refresh();
}

void DrawIconEx(PictureSurface& picture, const IconImage& image, PictureSurface* maskPicture) {
  Trap(kDrawIconExLabel, [&] {
    if (image.IsKept()) {
      DrawKeptPlaceholder(picture, image.Kept.entry->width, image.Kept.entry->height);
      return;
    }
    CheckGrids(image);
    picture.Cls();
    const Colour background = picture.BackColor();
    if (image.CarriesAlpha()) {
      ForEachPixel(image, [&](int x, int y, float fx, float fy) {
        picture.PSet(fx, fy, BlendOver(image.Pixels.At(x, y), AlphaAt(image, x, y), background));
      });
    } else {
      ForEachPixel(image, [&](int x, int y, float fx, float fy) {
        picture.PSet(fx, fy, image.Mask.At(x, y) != MaskOpaque ? background : image.Pixels.At(x, y));
      });
    }
    if (maskPicture) {
      ForEachPixel(image, [&](int x, int y, float fx, float fy) {
        maskPicture->PSet(fx, fy, InvertColor(image.Mask.At(x, y)));
      });
      maskPicture->Refresh();
    }
    picture.Refresh();
  });
}

void SaveIconFromPictureEx(PictureSurface& picture, IconImage& image,
                           PictureSurface* maskPicture) {
  Trap(kSaveIconFromPictureExLabel, [&] {
    CheckGrids(image);
    CheckCovers(picture, image);
    if (image.CarriesAlpha()) {
      ReadBackWithAlpha(picture, image, maskPicture);
      return;
    }
    if (maskPicture) {
      CheckCovers(*maskPicture, image);
      ForEachPixel(image, [&](int x, int y, float fx, float fy) {
        image.Mask.At(x, y) = InvertColor(maskPicture->Point(fx, fy));
      });
    }
    ForEachPixel(image, [&](int x, int y, float fx, float fy) {
      image.Pixels.At(x, y) = image.Mask.At(x, y) != MaskOpaque ? kBlack : picture.Point(fx, fy);
    });
  });
}

void DrawZoomedIcon(PictureSurface& picture, const IconImage& image) {
  Trap(kDrawZoomedIconLabel, [&] {
    CheckGrids(image);
    picture.Cls();
    ForEachPixel(image, [&](int x, int y, float, float) {
      const float left = 10.0f * static_cast<float>(x);
      const float top = 10.0f * static_cast<float>(y);
      const Colour colour = image.Pixels.At(x, y);
      if (image.Mask.At(x, y) == MaskOpaque) {
        picture.Line(left, top, left + 10, top + 10, colour, PictureSurface::LineKind::FilledBox);
      } else if (colour == kBlack) {
        picture.Line(left, top, left + 10, top + 10, kTransparentMark);
      } else {
        picture.Line(left, top + 10, left + 10, top, kNotOpaqueMark);
      }
    });
  });
}

void DrawPalette(PictureSurface& picture, int bitDepth, const std::vector<Colour>& palette) {
  Trap(kDrawPaletteLabel, [&] {
    picture.Cls();
    int columns = 0;
    int rows = 0;
    switch (bitDepth) {
      case 1: columns = 2; rows = 1; break;
      case 4: columns = 8; rows = 2; break;
      case 8:
      case 24:
      case 32: columns = 16; rows = 16; break;
      default: return;
    }
    const int cellWidth = CellSize(picture.ScaleWidth(), columns);
    const int cellHeight = CellSize(picture.ScaleHeight(), rows);
    const std::size_t cells = static_cast<std::size_t>(columns * rows);
    for (std::size_t k = 0; k < palette.size() && k < cells; ++k) {
      const int column = static_cast<int>(k) % columns;
      const int row = static_cast<int>(k) / columns;
      picture.Line(static_cast<float>(column * cellWidth), static_cast<float>(row * cellHeight),
                   static_cast<float>((column + 1) * cellWidth),
                   static_cast<float>((row + 1) * cellHeight), palette[k],
                   PictureSurface::LineKind::FilledBox);
    }
  });
}

}  // namespace brixel
