#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace brixel {

class Clip;
class EditGrid;
class GridEditor;

// The commands of the Clipboard menu and toolbar and of the transform toolbar, on the
// current image of the current document. All do nothing while no image is current.
class EditCommands {
 public:
  using SelectImageFunction = std::function<void(std::int16_t index, bool resync)>;
  // Redraws the strip picture of an image that changed while another one was shown.
  using ImageChangedFunction = std::function<void(std::int16_t index)>;

  EditCommands(EditGrid& grid, GridEditor& editor, Clip& clip, SelectImageFunction selectImage,
               ImageChangedFunction imageChanged);

  // Copies the selection into the clip; Cut then makes the copied pixels transparent (Undo
  // brings them back).
  void CopySelection(bool cut);
  // Arms a paste: the clip floats under the pointer until the next click on the grid places
  // it there (or Enter where it shows; Esc gives it up).
  void Paste();
  // The whole image selected, with its frame; no selection.
  void SelectAll();
  void Deselect();
  // Empties the clip; a paste already armed places nothing.
  void ClearClip();
  // Takes back the latest step of the history in the image it came from and shows that
  // image; Redo does the latest step taken back again. Neither acts during a press.
  void Undo();
  void Redo();
  // The transform toolbar's button of that index: 0 and 1 turn a quarter anticlockwise and
  // clockwise, 2 and 3 mirror left to right and top to bottom, 4-7 shift one pixel left,
  // right, up and down. Quarter turns need a square image.
  void Transform(int index);

  // The Clipboard toolbar's keys: "Cut", "Copy", "Paste", "Undo" (and "Redo").
  void ClipboardKey(const QString& key);

 private:
  void Restore(bool redo);

  EditGrid& grid_;
  GridEditor& editor_;
  Clip& clip_;
  SelectImageFunction selectImage_;
  ImageChangedFunction imageChanged_;
  bool stripRedrawPending_ = false;
};

}  // namespace brixel
