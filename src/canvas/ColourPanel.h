#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

namespace brixel {

class ImageDocument;
class MouseColours;
class PalettePanel;

// What the palette panel does with the mouse: a press gives the clicking button the entry
// shown in PctFloat; a double-click edits that entry with the colour chooser, and the buttons
// on the entry take its new colour. The window supplies the current document and image, and
// learns of an edited entry through paletteEdited so that it can show the image afresh with
// the button colours resynced, redraw its thumbnail and mark the document changed.
class ColourPanel : public QObject {
 public:
  using DocumentSource = std::function<ImageDocument*()>;  // nullptr: no document open
  using ImageSource = std::function<std::int16_t()>;       // -1: no current image
  using PaletteEdited = std::function<void(std::int16_t image)>;

  ColourPanel(PalettePanel& palette, MouseColours& colours, DocumentSource document,
              ImageSource currentImage, PaletteEdited paletteEdited, QObject* parent = nullptr);

  void Pressed(int buttonCode);
  void DoubleClicked();

 private:
  PalettePanel& palette_;
  MouseColours& colours_;
  DocumentSource document_;
  ImageSource currentImage_;
  PaletteEdited paletteEdited_;
};

}  // namespace brixel
