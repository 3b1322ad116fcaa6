#pragma once

#include <cstdint>
#include <functional>

#include "Colour.h"
#include "DrawingTool.h"

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
// colour. Point tools act on every reported position, rubber-band tools show their figure
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
  int AnchorX() const { return anchorX_; }
  int AnchorY() const { return anchorY_; }
  int EndX() const { return endX_; }
  int EndY() const { return endY_; }

 private:
  void FollowPointer(ImageDocument& document, std::int16_t image, int button, float x, float y,
                     Colour colour, bool press);
  void ActOnPoint(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                  Colour colour);
  void Pick(const ImageDocument& document, std::int16_t image, int button, int x, int y);
  void MoveHotSpot(ImageDocument& document, std::int16_t image, float x, float y);
  void StartBand(ToolShape shape);
  void MoveBand(ToolShape shape, int x, int y);
  void DrawShape(ToolShape shape, Colour colour);
  void ReleaseEyeDrop(ImageDocument& document, std::int16_t image, int button, float x, float y);
  void Finish();

  EditGrid& grid_;
  ToolChoice& tools_;
  MouseColours& colours_;
  Clip& clip_;
  const TextSettings& text_;
  const Settings& options_;
  SelectImageFunction selectImage_;

  bool mouseIsDown_ = false;
  int anchorX_ = 0;
  int anchorY_ = 0;
  int endX_ = 0;
  int endY_ = 0;
};

}  // namespace brixel
