#pragma once

#include <array>
#include <cstdint>

#include "Colour.h"
#include "DrawingTool.h"
#include "PaintColour.h"

namespace brixel {

class ImageDocument;
class MouseFunctionsPanel;

// The drawing colour of each mouse button: the swatches PctCol1, PctCol2 and PctCol4 of the
// "Mouse Functions" frame, and the palette entry each button draws with on images of fewer
// than 24 bits per pixel. Button codes are 1 left, 2 right, 4 middle; any other code counts as
// the left button. Members given an image the document does not hold change nothing.
class MouseColours {
 public:
  explicit MouseColours(MouseFunctionsPanel& panel);

  // By button code - 1: 0 left, 1 right, 3 middle (2 belongs to no button). Starts at 0 and
  // only ever takes entries found in a palette.
  const std::array<std::int32_t, 4>& ButtonPaletteIndex() const { return paletteIndex_; }

  // The swatch's background colour. Setting it to a negative value (no colour) is ignored.
  Colour Swatch(int buttonCode) const;
  void Swatch(int buttonCode, Colour colour);

  // What the button draws with: its palette entry on images of fewer than 24 bits per pixel,
  // else its swatch colour.
  Colour DrawingColour(const ImageDocument& document, std::int16_t image, int buttonCode) const;
  // The drawing colour with the button's opacity, which counts in images that take opacity.
  PaintColour Paint(const ImageDocument& document, std::int16_t image, int buttonCode) const;

  // The button's opacity, 0-255 (255 until chosen), and whether it paints over the pixels
  // below (blends) rather than setting them.
  int Opacity(int buttonCode) const { return opacity_[Slot(buttonCode)]; }
  void Opacity(int buttonCode, int opacity);
  bool PaintsOver(int buttonCode) const { return paintsOver_[Slot(buttonCode)]; }
  void PaintsOver(int buttonCode, bool over) { paintsOver_[Slot(buttonCode)] = over; }
  // Whether the swatches show the opacity, over a checkerboard: while the current image takes
  // opacity.
  void ShowOpacity(bool shown);
  bool OpacityShown() const { return opacityShown_; }

  // Brings the swatches in line with the image's palette: a swatch colour the palette lacks
  // becomes the button's default entry (left 0, right 1, middle 1 on 1-bit images, else 2);
  // then each button takes the palette entry of its swatch. An image that takes opacity draws
  // with the swatch colours themselves: they stay.
  void Sync(const ImageDocument& document, std::int16_t image);

  // After the eye-dropper filled the swatch: the button takes the swatch colour's palette
  // entry, or keeps its entry when the palette lacks the colour.
  void EyeDropped(const ImageDocument& document, std::int16_t image, int buttonCode);

  // After a palette entry was edited: the buttons on that entry take its new colour, so that
  // the next sync keeps them on it.
  void EntryEdited(const ImageDocument& document, std::int16_t image, std::int32_t entry);

  // A press on the palette panel whose bar showed panelColour: the button takes that entry
  // and the swatch its colour; a colour not in the palette gives the "Invalid color" message.
  void PanelPressed(const ImageDocument& document, std::int16_t image, int buttonCode,
                    Colour panelColour);

 private:
  static std::size_t Slot(int buttonCode) {
    return static_cast<std::size_t>(ButtonOrLeft(buttonCode) - 1);
  }

  void Show(int buttonCode);

  MouseFunctionsPanel& panel_;
  std::array<std::int32_t, 4> paletteIndex_{};
  std::array<int, 4> opacity_{kOpaque, kOpaque, kOpaque, kOpaque};
  std::array<bool, 4> paintsOver_{};
  bool opacityShown_ = false;
};

}  // namespace brixel
