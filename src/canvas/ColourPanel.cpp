#include "ColourPanel.h"

#include <utility>

#include "CurrentDocument.h"
#include "ImageDocument.h"
#include "MouseColours.h"
#include "PalettePanel.h"
#include "PictureBox.h"
#include "cCommonDialog.h"

namespace brixel {

ColourPanel::ColourPanel(PalettePanel& palette, MouseColours& colours, DocumentSource document,
                         ImageSource currentImage, PaletteEdited paletteEdited, QObject* parent)
    : QObject(parent),
      palette_(palette),
      colours_(colours),
      document_(std::move(document)),
      currentImage_(std::move(currentImage)),
      paletteEdited_(std::move(paletteEdited)) {
  PictureBox& swatches = palette_.Swatches();
  connect(&swatches, &PictureBox::MouseDown, this,
          [this](int button, int, float, float) { Pressed(button); });
  connect(&swatches, &PictureBox::DblClick, this, [this] { DoubleClicked(); });
}

void ColourPanel::Pressed(int buttonCode) {
  const ImageDocument* document = document_();
  const std::int16_t image = currentImage_();
  if (!HasImage(document, image)) return;
  colours_.PanelPressed(*document, image, buttonCode, palette_.FloatColour());
}

void ColourPanel::DoubleClicked() {
  ImageDocument* document = document_();
  const std::int16_t image = currentImage_();
  if (!HasImage(document, image)) return;
  const std::int32_t entry = document->GetPaletteClick(image, palette_.FloatColour());
  if (entry == -1) return;

  qint32 chosen = 0;  // black preselected, whatever the entry's colour
  cCommonDialog dialog;
  if (!dialog.VBChooseColor(chosen, true, false, false, nullptr)) return;
  // The chooser runs its own event loop: the document may have gone meanwhile.
  if (document_() != document || currentImage_() != image || !HasImage(document, image)) return;
  document->PaletteColor(image, entry, chosen);
  colours_.EntryEdited(*document, image, entry);
  if (paletteEdited_) paletteEdited_(image);
}

}  // namespace brixel
