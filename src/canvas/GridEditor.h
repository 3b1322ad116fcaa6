#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <QRect>

#include "ClipTransfer.h"
#include "Colour.h"
#include "DrawingTool.h"
#include "PaintColour.h"

namespace brixel {

class Clip;
class EditGrid;
class ImageDocument;
class MouseColours;
class PictureSurface;
class ToolChoice;
struct Settings;
struct TextSettings;

// What a press, a drag and a release on the edit grid do with each mouse button's tool and
// colour. Point tools act on every reported position and the line from the one before,
// rubber-band tools show their figure
// inverted over the grid's cells and make it at the release on the hidden scratch surface, from which
// the pixels of exactly the drawing colour are taken over; fills, the text and a pending
// paste act at the release. Every press takes an undo snapshot of the current image.
class GridEditor {
 public:
  using SelectImageFunction = std::function<void(std::int16_t index, bool resync)>;

  GridEditor(EditGrid& grid, ToolChoice& tools, MouseColours& colours, Clip& clip,
             const TextSettings& text, const Settings& options, SelectImageFunction selectImage);

  // Pointer events of the grid, as it reports them: button code(s) and logical position.
  void Press(int button, float x, float y);
  void Drag(int button, float x, float y);
  void Release(int button, float x, float y);

  // The selection: the pixel of the last press and the last drag position.
  // A stroke, a figure or a placing is under way between a press and its release.
  bool MouseIsDown() const { return mouseIsDown_; }
  // Whether Copy and Cut have pixels to take: any press sets the corners again, Deselect
  // leaves none.
  bool HasSelection() const { return selected_; }
  int AnchorX() const { return anchorX_; }
  int AnchorY() const { return anchorY_; }
  int EndX() const { return endX_; }
  int EndY() const { return endY_; }
  // Selects a rectangle between two corner pixels (Select all) and shows its frame; Deselect
  // takes the frame away.
  void Select(int x1, int y1, int x2, int y2);
  void Deselect();

  // --- Floating pixels: a paste waiting for its place, or a selection being moved ---
  // A press with the Select tool inside the selection frame lifts the selected pixels (their
  // place becomes transparent) and the drag moves them; the release puts them down. An armed
  // paste shows the clip under the pointer until the click places it.
  // Shows the armed paste's pixels with their top-left at pixel (x, y).
  void FloatPaste(const ClipRegion& pixels, int x, int y);
  // The grid's keys: Esc cancels a paste or a move; the arrows nudge the floating pixels, or
  // the selected pixels, by one pixel; Enter places a paste where it shows. True when handled.
  bool Key(int key);

 private:
  void FollowPointer(ImageDocument& document, std::int16_t image, int button, float x, float y,
                     PaintColour paint, bool press);
  void ActOnPixel(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                  PaintColour paint);
  void StartStroke(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                   PaintColour paint);
  void JoinStroke(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                  PaintColour paint);
  void Pick(const ImageDocument& document, std::int16_t image, int button, int x, int y);
  void MoveHotSpot(ImageDocument& document, std::int16_t image, float x, float y);
  void StartBand(ToolShape shape);
  void MoveBand(ToolShape shape, int x, int y);
  void DrawShape(ToolShape shape, Colour colour);
  void ReleaseEyeDrop(ImageDocument& document, std::int16_t image, int button, float x, float y);
  void Finish();
  // Moving the selected pixels.
  bool StartMove(ImageDocument& document, std::int16_t image, int x, int y);
  void EndMove(ImageDocument& document, std::int16_t image);
  void CancelMove(ImageDocument& document, std::int16_t image);
  void NudgeSelection(int dx, int dy);
  void PlacePaste(ImageDocument& document, std::int16_t image, int x, int y);
  void ShowFloating();
  void StopFloating();

  EditGrid& grid_;
  ToolChoice& tools_;
  MouseColours& colours_;
  Clip& clip_;
  const TextSettings& text_;
  const Settings& options_;
  SelectImageFunction selectImage_;

  bool mouseIsDown_ = false;
  bool selected_ = true;
  int anchorX_ = 0;
  int anchorY_ = 0;
  int endX_ = 0;
  int endY_ = 0;
  // The stroke's last position, and whether its pixel was set (it lay inside the image).
  int strokeX_ = 0;
  int strokeY_ = 0;
  bool strokeDone_ = false;
  // The button paints over the pixels (blends) rather than setting them.
  bool blend_ = false;
  // What floats over the grid, and where its top-left is.
  ClipRegion floatingPixels_;
  QImage floatingPicture_;
  int floatX_ = 0;
  int floatY_ = 0;
  // A move: the selection it lifted and the pixel the press took it by.
  bool moving_ = false;
  QRect moveFrom_;
  int grabX_ = 0;
  int grabY_ = 0;
};

}  // namespace brixel
