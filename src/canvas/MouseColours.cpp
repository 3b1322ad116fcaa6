#include "MouseColours.h"

#include <algorithm>

#include "AlphaChannel.h"
#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "MouseFunctionsPanel.h"
#include "PictureBox.h"
#include "Prompter.h"

namespace brixel {
namespace {

// The dark squares of the checkerboard that shows transparency.
constexpr Colour kCheckerDarkColour = MakeColour(204, 204, 204);

constexpr int kButtonsInSyncOrder[] = {1, 2, 4};

// The entry's colour, or nothing when the palette has no such entry.
Colour EntryColour(const ImageDocument& document, std::int16_t image, std::int32_t entry) {
  const auto& palette = document.Image(image).Palette;
  if (entry < 0 || static_cast<std::size_t>(entry) >= palette.size()) return kNoColour;
  return palette[static_cast<std::size_t>(entry)];
}

std::int32_t DefaultEntry(int button, int bitDepth) {
  switch (button) {
    case 2: return 1;
    case 4: return bitDepth == 1 ? 1 : 2;
    default: return 0;
  }
}

}  // namespace

MouseColours::MouseColours(MouseFunctionsPanel& panel) : panel_(panel) {}

Colour MouseColours::Swatch(int buttonCode) const {
  return panel_.Swatch(ButtonOrLeft(buttonCode))->Surface().BackColor();
}

void MouseColours::Swatch(int buttonCode, Colour colour) {
  if (colour < 0) return;
  QtPictureSurface& surface = panel_.Swatch(ButtonOrLeft(buttonCode))->Surface();
  surface.BackColor(colour);
  Show(buttonCode);
}

void MouseColours::Opacity(int buttonCode, int opacity) {
  opacity_[Slot(buttonCode)] = std::clamp(opacity, 0, kOpaque);
  Show(buttonCode);
}

void MouseColours::ShowOpacity(bool shown) {
  if (shown == opacityShown_) return;
  opacityShown_ = shown;
  for (const int button : kButtonsInSyncOrder) Show(button);
}

// The swatch in its colour, or with its opacity over a checkerboard.
void MouseColours::Show(int buttonCode) {
  QtPictureSurface& surface = panel_.Swatch(ButtonOrLeft(buttonCode))->Surface();
  surface.Cls();
  const int opacity = Opacity(buttonCode);
  if (!opacityShown_ || opacity == kOpaque) return;
  const Colour colour = surface.BackColor();
  const float side = surface.ScaleWidth();
  const float square = side / 4;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      const Colour under = (row + column) % 2 ? kCheckerDarkColour : kWhite;
      surface.Line(column * square, row * square, (column + 1) * square, (row + 1) * square,
                   BlendOver(colour, opacity, under), PictureSurface::LineKind::FilledBox);
    }
  }
}

PaintColour MouseColours::Paint(const ImageDocument& document, std::int16_t image,
                                int buttonCode) const {
  return {DrawingColour(document, image, buttonCode), Opacity(buttonCode)};
}

Colour MouseColours::DrawingColour(const ImageDocument& document, std::int16_t image,
                                   int buttonCode) const {
  if (HasImage(&document, image) && document.BitDepth(image) < 24) {
    const Colour entry = EntryColour(document, image, paletteIndex_[Slot(buttonCode)]);
    // An entry beyond a shorter palette cannot be drawn with; the swatch still shows a colour.
    if (entry != kNoColour) return entry;
  }
  return Swatch(buttonCode);
}

void MouseColours::Sync(const ImageDocument& document, std::int16_t image) {
  if (!HasImage(&document, image)) return;
  const int bitDepth = document.BitDepth(image);
  const bool ownColours = TakesOpacity(document.Image(image));
  for (const int button : kButtonsInSyncOrder) {
    if (ownColours) break;
    std::int32_t entry = document.GetPaletteClick(image, Swatch(button));
    if (entry == -1) entry = DefaultEntry(button, bitDepth);
    Swatch(button, EntryColour(document, image, entry));
  }
  for (const int button : kButtonsInSyncOrder) EyeDropped(document, image, button);
}

void MouseColours::EyeDropped(const ImageDocument& document, std::int16_t image, int buttonCode) {
  if (!HasImage(&document, image)) return;
  const std::int32_t entry = document.GetPaletteClick(image, Swatch(buttonCode));
  if (entry != -1) paletteIndex_[Slot(buttonCode)] = entry;
}

void MouseColours::EntryEdited(const ImageDocument& document, std::int16_t image,
                               std::int32_t entry) {
  if (!HasImage(&document, image)) return;
  for (const int button : kButtonsInSyncOrder) {
    if (paletteIndex_[Slot(button)] == entry) Swatch(button, EntryColour(document, image, entry));
  }
}

void MouseColours::PanelPressed(const ImageDocument& document, std::int16_t image, int buttonCode,
                                Colour panelColour) {
  if (!HasImage(&document, image)) return;
  const std::int32_t entry = document.GetPaletteClick(image, panelColour);
  if (entry == -1) {
    // Only a display that does not show the palette's exact colours gets here.
    ShowMessage("Invalid color",
                "Unable to find color, Please make sure that your display color resolution is "
                "true color (24 or 32 bit)",
                Prompter::Icon::Exclamation);
    return;
  }
  paletteIndex_[Slot(buttonCode)] = entry;
  Swatch(buttonCode, EntryColour(document, image, entry));
}

}  // namespace brixel
