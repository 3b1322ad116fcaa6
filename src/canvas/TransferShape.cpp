#include "TransferShape.h"

#include "DrawingTool.h"
#include "ImageDocument.h"
#include "PictureSurface.h"

namespace brixel {

void PrepareScratch(PictureSurface& scratch, Colour colour) {
  scratch.Cls();
  scratch.FillColor(colour);
  scratch.FillStyle(PictureSurface::kFillTransparent);
  scratch.Line(0, 0, scratch.ScaleWidth(), scratch.ScaleHeight(), InvertColor(colour),
               PictureSurface::LineKind::FilledBox);
}

void TransferShape(const PictureSurface& scratch, ImageDocument& document, std::int16_t image,
                   PaintColour paint, bool blend) {
  const Colour colour = paint.colour;
  // Outside the scratch reads as -1, which would match "no colour" below an image taller than
  // the scratch surface.
  if (colour < 0) return;
  const int width = static_cast<int>(scratch.ScaleWidth());
  const int height = static_cast<int>(scratch.ScaleHeight());
  for (int x = 0; x <= width; ++x) {
    for (int y = 0; y <= height; ++y) {
      const auto fx = static_cast<float>(x);
      const auto fy = static_cast<float>(y);
      // The padding columns of a 1-bit image lie under the scratch surface but are no pixels.
      if (!InPicture(document, image, x, y) || scratch.Point(fx, fy) != colour) continue;
      PaintPixel(document.Image(image), x, y, paint, blend);
    }
  }
}

}  // namespace brixel
