#include "EditCommands.h"

#include <QCursor>
#include <QTimer>

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
// Up to this many cells an undo shows again one by one; more, and the whole grid is redrawn.
constexpr long long kCellsShownOneByOne = 4096;
constexpr int kStripRedrawDelayMs = 100;

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
  if (!HasImage(document, image) || !editor_.HasSelection()) return;
  const int x1 = editor_.AnchorX(), y1 = editor_.AnchorY();
  const int x2 = editor_.EndX(), y2 = editor_.EndY();
  if (!clip_.Copy(*document, image, x1, y1, x2, y2)) return;
  if (cut) {
    document->ResetUndo(image);
    ClearRegion(*document, image, x1, y1, x2, y2);
    document->CloseUndoStep();
    document->Changed(true);
  }
  selectImage_(image, true);
}

void EditCommands::Paste() {
  if (!clip_.ArmPaste()) return;
  GridView& view = grid_.View();
  view.MousePointer(PointerBox::kPointerArrowQuestion);
  // The clip shows under the pointer at once, or at the top-left while the pointer is away,
  // and the keys reach the grid.
  const QPoint pointer = view.mapFromGlobal(QCursor::pos());
  const double cell = grid_.CellPixels();
  const bool over = view.rect().contains(pointer) && cell > 0;
  editor_.FloatPaste(clip_.Armed(), over ? static_cast<int>(pointer.x() / cell) : 0,
                     over ? static_cast<int>(pointer.y() / cell) : 0);
  view.setFocus();
}

void EditCommands::ClearClip() {
  clip_.Clear();
  // A paste still armed places nothing now: nothing to show either.
  if (grid_.PastePending()) editor_.FloatPaste(ClipRegion(), 0, 0);
}

void EditCommands::SelectAll() {
  const cIco* document = CurrentIconDocument();
  const std::int16_t image = grid_.CurrentImage();
  if (!HasImage(document, image) || editor_.MouseIsDown()) return;
  editor_.Select(0, 0, document->Width(image) - 1, document->Height(image) / 2 - 1);
}

void EditCommands::Deselect() {
  if (!editor_.MouseIsDown()) editor_.Deselect();
}

void EditCommands::Undo() { Restore(false); }

void EditCommands::Redo() { Restore(true); }

void EditCommands::Restore(bool redo) {
  cIco* document = CurrentIconDocument();
  if (!document || grid_.CurrentImage() < 0) return;
  // Not in the middle of a stroke or a figure: its step is still open.
  if (editor_.MouseIsDown()) return;
  const std::int16_t shown = grid_.CurrentImage();
  const std::int16_t restored = redo ? document->GetRedo() : document->GetUndo();
  if (!HasImage(document, restored)) return;
  document->Changed(true);
  // A few cells of the image shown: only they are shown again, and its strip picture.
  const std::optional<EditHistory::Change>& change = document->History().LastChange();
  if (restored == shown && change && !change->whole &&
      static_cast<long long>(change->width) * change->height <= kCellsShownOneByOne) {
    for (int y = change->top; y < change->top + change->height; ++y) {
      for (int x = change->left; x < change->left + change->width; ++x) grid_.ShowPixel(x, y);
    }
    // The strip picture follows a moment later, once for a quick run of undos, as it follows
    // a stroke at its release: drawing it costs more than the cells.
    if (imageChanged_ && !stripRedrawPending_) {
      stripRedrawPending_ = true;
      QTimer::singleShot(kStripRedrawDelayMs, &grid_.View(), [this] {
        stripRedrawPending_ = false;
        if (HasImage(CurrentIconDocument(), grid_.CurrentImage())) imageChanged_(grid_.CurrentImage());
      });
    }
    return;
  }
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
  document->CloseUndoStep();
  selectImage_(image, false);
  document->Changed(true);
}

void EditCommands::ClipboardKey(const QString& key) {
  if (key == "Cut") CopySelection(true);
  else if (key == "Copy") CopySelection(false);
  else if (key == "Paste") Paste();
  else if (key == "Undo") Undo();
  else if (key == "Redo") Redo();
}

}  // namespace brixel
