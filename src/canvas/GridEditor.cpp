#include "GridEditor.h"

#include <cmath>
#include <limits>

#include "Clip.h"
#include "CurrentDocument.h"
#include "EditGrid.h"
#include "FloodFill.h"
#include "GridGeometry.h"
#include "MouseColours.h"
#include "GridView.h"
#include "PictureBox.h"
#include "Settings.h"
#include "TextTool.h"
#include "ToolChoice.h"
#include "TransferShape.h"

namespace brixel {
namespace {

std::int16_t ClampToInt16(int value) {
  constexpr int low = std::numeric_limits<std::int16_t>::min();
  constexpr int high = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(value < low ? low : value > high ? high : value);
}

}  // namespace

GridEditor::GridEditor(EditGrid& grid, ToolChoice& tools, MouseColours& colours, Clip& clip,
                       const TextSettings& text, const Settings& options,
                       SelectImageFunction selectImage)
    : grid_(grid),
      tools_(tools),
      colours_(colours),
      clip_(clip),
      text_(text),
      options_(options),
      selectImage_(std::move(selectImage)) {}

void GridEditor::Press(int button, float x, float y) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  const int code = NormalisedButton(button);
  if (!HasImage(document, image) || code == 0) return;

  document->ResetUndo(image);
  mouseIsDown_ = true;
  const Colour colour = colours_.DrawingColour(*document, image, code);
  if (grid_.PastePending()) return;

  document->Changed(true);
  anchorX_ = endX_ = PixelOf(x);
  anchorY_ = endY_ = PixelOf(y);
  FollowPointer(*document, image, code, x, y, colour, true);
}

void GridEditor::Drag(int button, float x, float y) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  const int code = NormalisedButton(button);
  if (code == 0 || !mouseIsDown_ || grid_.PastePending() || !HasImage(document, image)) return;

  FollowPointer(*document, image, code, x, y, colours_.DrawingColour(*document, image, code), false);
}

// What the tool of a button does at a position the pointer reports: the press's or a drag's.
void GridEditor::FollowPointer(ImageDocument& document, std::int16_t image, int button, float x,
                               float y, Colour colour, bool press) {
  const ToolTraits tool = TraitsOf(tools_.ToolOf(button));
  switch (tool.driver) {
    case ToolDriver::EachPoint:
      ActOnPoint(document, image, PixelOf(x), PixelOf(y), tool.action, colour);
      break;
    case ToolDriver::RubberBand:
      if (press) StartBand(tool.shape);
      else MoveBand(tool.shape, PixelOf(x), PixelOf(y));
      break;
    case ToolDriver::Pick:
      if (press || !grid_.PointerOutside()) Pick(document, image, button, PixelOf(x), PixelOf(y));
      break;
    case ToolDriver::HotSpot:
      MoveHotSpot(document, image, x, y);
      break;
    default:
      break;
  }
}

void GridEditor::Release(int button, float x, float y) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  if (!HasImage(document, image)) return;
  grid_.MarkIfOutside(x, y);
  const int code = NormalisedButton(button);
  if (code == 0 || !mouseIsDown_) return;
  const Colour colour = colours_.DrawingColour(*document, image, code);

  if (grid_.PastePending()) {
    clip_.Place(*document, image, PixelOf(x), PixelOf(y));
    grid_.View().MousePointer(PointerBox::kPointerDefault);
    document->Changed(true);
    selectImage_(image, true);
    Finish();
    return;
  }

  QtPictureSurface& scratch = grid_.Scratch().Surface();
  scratch.DrawMode(PictureSurface::kDrawModeCopy);
  scratch.DrawWidth(1);
  PrepareScratch(scratch, colour);
  const ToolTraits tool = TraitsOf(tools_.ToolOf(code));
  switch (tool.driver) {
    case ToolDriver::EachPoint:
      ActOnPoint(*document, image, PixelOf(x), PixelOf(y), tool.action, colour);
      break;
    case ToolDriver::FillAtRelease: {
      const bool erase = tool.action == PixelAction::MakeTransparent;
      FillRegion(*document, image, PixelOf(x), PixelOf(y), erase ? kWhite : colour, erase,
                 options_.FloodFill);
      break;
    }
    case ToolDriver::RubberBand:
      grid_.HideBand();
      if (tool.shape != ToolShape::Selection) {
        DrawShape(tool.shape, colour);
        TransferShape(grid_.Scratch().Surface(), *document, image, colour);
      }
      break;
    case ToolDriver::Pick:
      ReleaseEyeDrop(*document, image, code, x, y);
      break;
    case ToolDriver::HotSpot:
      MoveHotSpot(*document, image, x, y);
      break;
    case ToolDriver::TextAtRelease:
      DrawTextAt(grid_.Scratch().Surface(), text_, colour, static_cast<float>(endX_),
                 static_cast<float>(endY_));
      TransferShape(grid_.Scratch().Surface(), *document, image, colour);
      break;
    case ToolDriver::None:
      break;
  }

  selectImage_(image, false);
  if (tool.shape == ToolShape::Selection) grid_.ShowFrame(anchorX_, anchorY_, endX_, endY_);
  Finish();
}

void GridEditor::ActOnPoint(ImageDocument& document, std::int16_t image, int x, int y,
                            PixelAction action, Colour colour) {
  if (grid_.PointerOutside()) return;
  const Colour shown = action == PixelAction::Paint ? colour : kWhite;
  grid_.PaintCell(static_cast<float>(x), static_cast<float>(y), shown, CellModeOf(action));
  WritePixel(document, image, x, y, action, colour);
}

void GridEditor::Pick(const ImageDocument& document, std::int16_t image, int button, int x,
                      int y) {
  const Colour picked = document.XYColor(image, static_cast<float>(x), static_cast<float>(y));
  if (picked != kNoColour) colours_.Swatch(button, picked);
}

void GridEditor::MoveHotSpot(ImageDocument& document, std::int16_t image, float x, float y) {
  document.xHotSpot(image, ClampToInt16(PixelOf(x)));
  document.yHotSpot(image, ClampToInt16(PixelOf(y)));
}

void GridEditor::ReleaseEyeDrop(ImageDocument& document, std::int16_t image, int button,
                                float x, float y) {
  if (!grid_.PointerOutside()) Pick(document, image, button, PixelOf(x), PixelOf(y));
  colours_.EyeDropped(document, image, button);
  const int returnTool = tools_.ReturnTool(button);
  if (returnTool >= 0) tools_.Choose(button, returnTool);
}

// --- Rubber bands: shown over the cells, not drawn on them ---

void GridEditor::StartBand(ToolShape shape) { grid_.ShowBand(shape, anchorX_, anchorY_, endX_, endY_); }

void GridEditor::MoveBand(ToolShape shape, int x, int y) {
  // Most moves stay in their cell: the band there is already right.
  if (x == endX_ && y == endY_) return;
  endX_ = x;
  endY_ = y;
  grid_.ShowBand(shape, anchorX_, anchorY_, endX_, endY_);
}

// --- Shapes on the scratch surface ---

void GridEditor::DrawShape(ToolShape shape, Colour colour) {
  QtPictureSurface& scratch = grid_.Scratch().Surface();
  const auto ax = static_cast<float>(anchorX_);
  const auto ay = static_cast<float>(anchorY_);
  const auto ex = static_cast<float>(endX_);
  const auto ey = static_cast<float>(endY_);
  switch (shape) {
    case ToolShape::FilledCircle:
      scratch.FillStyle(PictureSurface::kFillSolid);
      [[fallthrough]];
    case ToolShape::Circle:
      scratch.Circle(ax, ay, std::hypot(ax - ex, ay - ey), colour);
      break;
    case ToolShape::Box:
      scratch.Line(ax, ay, ex, ey, colour, PictureSurface::LineKind::Box);
      break;
    case ToolShape::FilledBox:
      scratch.Line(ax, ay, ex, ey, colour, PictureSurface::LineKind::FilledBox);
      break;
    case ToolShape::Line:
      // The surface's line leaves out its last point.
      scratch.Line(ax, ay, ex, ey, colour);
      scratch.PSet(ex, ey, colour);
      break;
    case ToolShape::Selection:
    case ToolShape::None:
      break;
  }
}

void GridEditor::Finish() {
  grid_.PointerOutside(false);
  mouseIsDown_ = false;
}

}  // namespace brixel
