#include "GridEditor.h"

#include <cmath>
#include <limits>

#include "Clip.h"
#include "ClipTransfer.h"
#include "CurrentDocument.h"
#include "EditGrid.h"
#include "FloodFill.h"
#include "GridGeometry.h"
#include "MouseColours.h"
#include "GridView.h"
#include "LinePixels.h"
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

  // The eye-dropper changes nothing: no history step, no changed mark.
  const ToolTraits tool = TraitsOf(tools_.ToolOf(code));
  const bool picking = tool.driver == ToolDriver::Pick && !grid_.PastePending();
  if (!picking) document->ResetUndo(image);
  mouseIsDown_ = true;
  const PaintColour paint = colours_.Paint(*document, image, code);
  if (grid_.PastePending()) return;

  if (tool.shape == ToolShape::Selection && StartMove(*document, image, PixelOf(x), PixelOf(y))) {
    document->Changed(true);
    return;
  }
  grid_.HideFrame();
  if (!picking) document->Changed(true);
  anchorX_ = endX_ = PixelOf(x);
  anchorY_ = endY_ = PixelOf(y);
  selected_ = true;
  FollowPointer(*document, image, code, x, y, paint, true);
}

void GridEditor::Drag(int button, float x, float y) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  const int code = NormalisedButton(button);
  if (grid_.PastePending() && !floatingPixels_.Empty()) {
    // The paste shows where a click would place it.
    if (PixelOf(x) != floatX_ || PixelOf(y) != floatY_) {
      floatX_ = PixelOf(x);
      floatY_ = PixelOf(y);
      ShowFloating();
    }
    return;
  }
  if (code == 0 || !mouseIsDown_ || grid_.PastePending() || !HasImage(document, image)) return;
  if (moving_) {
    const int toX = moveFrom_.left() + PixelOf(x) - grabX_;
    const int toY = moveFrom_.top() + PixelOf(y) - grabY_;
    if (toX != floatX_ || toY != floatY_) {
      floatX_ = toX;
      floatY_ = toY;
      ShowFloating();
    }
    return;
  }

  FollowPointer(*document, image, code, x, y, colours_.Paint(*document, image, code), false);
}

// What the tool of a button does at a position the pointer reports: the press's or a drag's.
void GridEditor::FollowPointer(ImageDocument& document, std::int16_t image, int button, float x,
                               float y, PaintColour paint, bool press) {
  const ToolTraits tool = TraitsOf(tools_.ToolOf(button));
  blend_ = colours_.PaintsOver(button);
  switch (tool.driver) {
    case ToolDriver::EachPoint:
      if (press) StartStroke(document, image, PixelOf(x), PixelOf(y), tool.action, paint);
      else JoinStroke(document, image, PixelOf(x), PixelOf(y), tool.action, paint);
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
  const PaintColour paint = colours_.Paint(*document, image, code);
  const Colour colour = paint.colour;
  blend_ = colours_.PaintsOver(code);

  if (grid_.PastePending()) {
    PlacePaste(*document, image, PixelOf(x), PixelOf(y));
    Finish();
    return;
  }
  if (moving_) {
    EndMove(*document, image);
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
      JoinStroke(*document, image, PixelOf(x), PixelOf(y), tool.action, paint);
      break;
    case ToolDriver::FillAtRelease:
      if (tool.action == PixelAction::MakeTransparent) {
        FillRegion(*document, image, PixelOf(x), PixelOf(y), kWhite, true, options_.FloodFill);
      } else {
        FillRegion(*document, image, PixelOf(x), PixelOf(y), paint, blend_, options_.FloodFill);
      }
      break;
    case ToolDriver::RubberBand:
      grid_.HideBand();
      if (tool.shape == ToolShape::Line) {
        // The pixels a joined stroke sets, so both tools draw the same line.
        ForEachLinePixel(anchorX_, anchorY_, endX_, endY_, document->Width(image),
                         document->Height(image) / 2, [&](int px, int py) {
                           WritePixel(*document, image, px, py, PixelAction::Paint, paint, blend_);
                         });
      } else if (tool.shape != ToolShape::Selection) {
        DrawShape(tool.shape, colour);
        TransferShape(grid_.Scratch().Surface(), *document, image, paint, blend_);
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
      TransferShape(grid_.Scratch().Surface(), *document, image, paint, blend_);
      break;
    case ToolDriver::None:
      break;
  }

  selectImage_(image, false);
  if (tool.shape == ToolShape::Selection) grid_.ShowFrame(anchorX_, anchorY_, endX_, endY_);
  Finish();
}

void GridEditor::ActOnPixel(ImageDocument& document, std::int16_t image, int x, int y,
                            PixelAction action, PaintColour paint) {
  if (!InPicture(document, image, x, y)) return;
  WritePixel(document, image, x, y, action, paint, blend_);
  // The cell shows the pixel as written: blended, half transparent or not.
  grid_.ShowPixel(x, y);
}

void GridEditor::StartStroke(ImageDocument& document, std::int16_t image, int x, int y,
                             PixelAction action, PaintColour paint) {
  strokeDone_ = !grid_.PointerOutside();
  if (strokeDone_) ActOnPixel(document, image, x, y, action, paint);
  strokeX_ = x;
  strokeY_ = y;
}

// A fast pointer reports positions far apart: the line between them is set too, so the
// stroke has no gaps. A position outside the image is not set itself (the pixel it truncates
// to may lie inside), but the line to it is.
void GridEditor::JoinStroke(ImageDocument& document, std::int16_t image, int x, int y,
                            PixelAction action, PaintColour paint) {
  const bool endInside = !grid_.PointerOutside();
  const int fromX = strokeX_;
  const int fromY = strokeY_;
  const bool fromDone = strokeDone_;
  ForEachLinePixel(fromX, fromY, x, y, document.Width(image), document.Height(image) / 2,
                   [&](int px, int py) {
                     if (px == fromX && py == fromY && fromDone) return;
                     if (px == x && py == y && !endInside) return;
                     ActOnPixel(document, image, px, py, action, paint);
                   });
  strokeX_ = x;
  strokeY_ = y;
  strokeDone_ = endInside;
}

void GridEditor::Pick(const ImageDocument& document, std::int16_t image, int button, int x,
                      int y) {
  if (!InPicture(document, image, x, y)) return;
  const Colour picked = document.XYColor(image, static_cast<float>(x), static_cast<float>(y));
  if (picked == kNoColour) return;
  const IconImage& picture = document.Image(image);
  if (!TakesOpacity(picture)) {
    colours_.Swatch(button, picked);
    return;
  }
  const PaintColour paint = PixelPaint(picture, x, y);
  colours_.Swatch(button, paint.colour);
  colours_.Opacity(button, paint.opacity);
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
  if (returnTool >= 0) tools_.ReturnTo(button, returnTool);
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
    case ToolShape::Line:  // set pixel by pixel, as strokes join
    case ToolShape::Selection:
    case ToolShape::None:
      break;
  }
}

// --- Selections and floating pixels ---

void GridEditor::Select(int x1, int y1, int x2, int y2) {
  anchorX_ = x1;
  anchorY_ = y1;
  endX_ = x2;
  endY_ = y2;
  selected_ = true;
  grid_.ShowFrame(x1, y1, x2, y2);
}

void GridEditor::Deselect() {
  grid_.HideFrame();
  selected_ = false;
}

void GridEditor::FloatPaste(const ClipRegion& pixels, int x, int y) {
  if (pixels.Empty()) {
    StopFloating();
    return;
  }
  moving_ = false;
  floatingPixels_ = pixels;
  floatingPicture_ = ClipImage(floatingPixels_);
  floatX_ = x;
  floatY_ = y;
  ShowFloating();
}

void GridEditor::ShowFloating() {
  grid_.View().SetFloating(floatingPicture_, QPoint(floatX_, floatY_));
}

void GridEditor::StopFloating() {
  moving_ = false;
  floatingPixels_ = ClipRegion();
  floatingPicture_ = QImage();
  grid_.View().SetFloating(QImage(), QPoint());
}

void GridEditor::PlacePaste(ImageDocument& document, std::int16_t image, int x, int y) {
  const bool changed = clip_.Place(document, image, x, y);
  grid_.View().MousePointer(PointerBox::kPointerDefault);
  StopFloating();
  if (changed) document.Changed(true);
  selectImage_(image, true);
}

// The selected pixels leave their place, which becomes transparent, and float with the
// pointer. Only a press inside the selection's frame does this.
bool GridEditor::StartMove(ImageDocument& document, std::int16_t image, int x, int y) {
  const std::optional<QRect> selection = grid_.Selection();
  if (!selection || !selection->contains(x, y)) return false;
  const QRect inside = selection->intersected(
      QRect(0, 0, document.Width(image), document.Height(image) / 2));
  if (inside.isEmpty()) return false;
  ClipRegion lifted = CopyRegion(document, image, inside.left(), inside.top(), inside.right(), inside.bottom());
  if (lifted.Empty()) return false;
  ClearRegion(document, image, inside.left(), inside.top(), inside.right(), inside.bottom());
  grid_.HideFrame();
  grid_.DrawMainIcon();
  FloatPaste(lifted, inside.left(), inside.top());
  moving_ = true;
  moveFrom_ = inside;
  grabX_ = x;
  grabY_ = y;
  return true;
}

void GridEditor::EndMove(ImageDocument& document, std::int16_t image) {
  const QRect to(floatX_, floatY_, floatingPixels_.Width(), floatingPixels_.Height());
  PasteRegion(document, image, floatingPixels_, floatX_, floatY_);
  StopFloating();
  selectImage_(image, false);
  const QRect shown = to.intersected(QRect(0, 0, document.Width(image), document.Height(image) / 2));
  if (!shown.isEmpty()) Select(shown.left(), shown.top(), shown.right(), shown.bottom());
}

void GridEditor::CancelMove(ImageDocument& document, std::int16_t image) {
  PasteRegion(document, image, floatingPixels_, moveFrom_.left(), moveFrom_.top());
  StopFloating();
  selectImage_(image, false);
  Select(moveFrom_.left(), moveFrom_.top(), moveFrom_.right(), moveFrom_.bottom());
}

// One step of the history each: lift, move by one pixel, put down.
void GridEditor::NudgeSelection(int dx, int dy) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  const std::optional<QRect> selection = grid_.Selection();
  if (!HasImage(document, image) || !selection) return;
  const QRect inside = selection->intersected(
      QRect(0, 0, document->Width(image), document->Height(image) / 2));
  if (inside.isEmpty()) return;
  document->ResetUndo(image);
  const ClipRegion lifted =
      CopyRegion(*document, image, inside.left(), inside.top(), inside.right(), inside.bottom());
  ClearRegion(*document, image, inside.left(), inside.top(), inside.right(), inside.bottom());
  PasteRegion(*document, image, lifted, inside.left() + dx, inside.top() + dy);
  document->CloseUndoStep();
  document->Changed(true);
  selectImage_(image, false);
  const QRect shown = inside.translated(dx, dy).intersected(
      QRect(0, 0, document->Width(image), document->Height(image) / 2));
  if (shown.isEmpty()) Deselect();
  else Select(shown.left(), shown.top(), shown.right(), shown.bottom());
}

bool GridEditor::Key(int key) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  if (!HasImage(document, image)) return false;
  int dx = 0;
  int dy = 0;
  switch (key) {
    case Qt::Key_Escape:
      if (grid_.PastePending()) {
        grid_.View().MousePointer(PointerBox::kPointerDefault);
        StopFloating();
        return true;
      }
      if (moving_) {
        CancelMove(*document, image);
        return true;
      }
      return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!grid_.PastePending() || floatingPixels_.Empty() || mouseIsDown_) return false;
      document->ResetUndo(image);
      PlacePaste(*document, image, floatX_, floatY_);
      document->CloseUndoStep();
      return true;
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return false;
  }
  if (!floatingPixels_.Empty()) {
    floatX_ += dx;
    floatY_ += dy;
    grabX_ -= dx;  // a drag under way goes on from the nudged place
    grabY_ -= dy;
    ShowFloating();
    return true;
  }
  if (mouseIsDown_ || !grid_.Selection()) return false;
  NudgeSelection(dx, dy);
  return true;
}

void GridEditor::Finish() {
  if (cIco* document = CurrentIconDocument()) document->CloseUndoStep();
  grid_.PointerOutside(false);
  mouseIsDown_ = false;
}

}  // namespace brixel
