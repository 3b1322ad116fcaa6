#include "DrawingTool.h"

#include "IconImage.h"
#include "ImageDocument.h"

namespace brixel {

ToolTraits TraitsOf(int tool) {
  switch (tool) {
    case kToolFreehand: return {ToolDriver::EachPoint, ToolShape::None, PixelAction::Paint};
    case kToolErase: return {ToolDriver::EachPoint, ToolShape::None, PixelAction::MakeTransparent};
    case kToolInvert: return {ToolDriver::EachPoint, ToolShape::None, PixelAction::MakeInverting};
    case kToolFloodFill: return {ToolDriver::FillAtRelease, ToolShape::None, PixelAction::Paint};
    case kToolFloodErase:
      return {ToolDriver::FillAtRelease, ToolShape::None, PixelAction::MakeTransparent};
    case kToolCircle: return {ToolDriver::RubberBand, ToolShape::Circle, PixelAction::Paint};
    case kToolFilledCircle:
      return {ToolDriver::RubberBand, ToolShape::FilledCircle, PixelAction::Paint};
    case kToolRect: return {ToolDriver::RubberBand, ToolShape::Box, PixelAction::Paint};
    case kToolFilledRect: return {ToolDriver::RubberBand, ToolShape::FilledBox, PixelAction::Paint};
    case kToolLine: return {ToolDriver::RubberBand, ToolShape::Line, PixelAction::Paint};
    case kToolSelect: return {ToolDriver::RubberBand, ToolShape::Selection, PixelAction::None};
    case kToolEyeDrop: return {ToolDriver::Pick, ToolShape::None, PixelAction::None};
    case kToolHotSpot: return {ToolDriver::HotSpot, ToolShape::None, PixelAction::None};
    case kToolText: return {ToolDriver::TextAtRelease, ToolShape::None, PixelAction::Paint};
    default: return {};
  }
}

bool InPicture(const ImageDocument& document, std::int16_t image, int x, int y) {
  if (image < 0 || image >= document.IconCount()) return false;
  const IconImage& picture = document.Image(image);
  return x >= 0 && y >= 0 && x < picture.Width && y < picture.Height() && GridsCoverPicture(picture);
}

void WritePixel(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                PaintColour paint, bool blend) {
  if (!InPicture(document, image, x, y)) return;
  const auto px = static_cast<float>(x);
  const auto py = static_cast<float>(y);
  switch (action) {
    case PixelAction::Paint:
      PaintPixel(document.Image(image), x, y, paint, blend);
      break;
    case PixelAction::MakeTransparent:
      document.XYColor(image, px, py, 0);
      document.XYMask(image, px, py, MaskTransparent);
      break;
    case PixelAction::MakeInverting:
      document.XYColor(image, px, py, kNoColour);
      document.XYMask(image, px, py, MaskTransparent);
      break;
    case PixelAction::None:
      break;
  }
}

}  // namespace brixel
