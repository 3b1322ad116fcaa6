#include "EditCommands.h"

#include "Clip.h"
#include "ClipTransfer.h"
#include "CurrentDocument.h"
#include "EditGrid.h"
#include "GridEditor.h"
#include "GridView.h"
#include "Prompter.h"

namespace brixel {
namespace {

constexpr int kQuarterTurnLeft = 0;
constexpr int kQuarterTurnRight = 1;
constexpr int kLastRotation = 3;
constexpr int kLastShift = 7;

}  // namespace

EditCommands::EditCommands(EditGrid& grid, GridEditor& editor, Clip& clip,
                           SelectImageFunction selectImage, ImageChangedFunction imageChanged)
    : grid_(grid),
      editor_(editor),
      clip_(clip),
      selectImage_(std::move(selectImage)),
      imageChanged_(std::move(imageChanged)) {}

void EditCommands::CopySelection(bool cut) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  if (!HasImage(document, image)) return;
  const int x1 = editor_.AnchorX(), y1 = editor_.AnchorY();
  const int x2 = editor_.EndX(), y2 = editor_.EndY();
  if (!clip_.Copy(*document, image, x1, y1, x2, y2)) return;
  if (cut) {
    document->ResetUndo(image);
    ClearRegion(*document, image, x1, y1, x2, y2);
    document->Changed(true);
  }
  selectImage_(image, true);
}

void EditCommands::Paste() {
  if (clip_.ArmPaste()) grid_.View().MousePointer(PointerBox::kPointerArrowQuestion);
}

void EditCommands::ClearClip() { clip_.Clear(); }

void EditCommands::Undo() {
  cIco* document = CurrentIconDocument();
  if (!document || grid_.CurrentImage() < 0) return;
  const std::int16_t shown = grid_.CurrentImage();
  const std::int16_t restored = document->GetUndo();
  if (!HasImage(document, restored)) return;
  document->Changed(true);
  // Showing the restored image brings the one shown until now up to date in the strip, but
  // not the restored one itself when it was another.
  if (restored != shown && imageChanged_) imageChanged_(restored);
  selectImage_(restored, true);
}

void EditCommands::Transform(int index) {
  cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  if (!HasImage(document, image) || index < 0 || index > kLastShift) return;
  const bool quarterTurn = index == kQuarterTurnLeft || index == kQuarterTurnRight;
  if (quarterTurn && document->Width(image) != document->Height(image) / 2) {
    ShowMessage("Rotate",
                "Only square images can be turned a quarter. Use Copy to a new size first.",
                Prompter::Icon::Exclamation);
    return;
  }
  document->ResetUndo(image);
  if (index <= kLastRotation) {
    document->RotatePicture(image, static_cast<std::int16_t>(index));
  } else {
    document->PicShift(image, static_cast<std::int16_t>(index - kLastRotation - 1));
  }
  selectImage_(image, false);
  document->Changed(true);
}

void EditCommands::ClipboardKey(const QString& key) {
  if (key == "Cut") CopySelection(true);
  else if (key == "Copy") CopySelection(false);
  else if (key == "Paste") Paste();
  else if (key == "Undo") Undo();
}

}  // namespace brixel
