#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "IconImage.h"

namespace brixel {

// The undo and redo history of a document's images. An edit opens a step with Begin, which
// keeps a copy of the image as it stands; Close compares the image with that copy and keeps
// only what changed: the smallest rectangle holding every changed cell of the colour, mask and
// alpha grids, before and after, plus the image's other fields when they changed (hot spot,
// palette), or the whole image before and after when its grids changed size. A step that
// changed nothing is dropped. Undo puts a step's "before" back and moves it to the redo list;
// Redo puts its "after" back; a new step drops what could be redone. The steps together stay
// under kMemoryLimit bytes, the oldest going first; the latest step is always kept.
class EditHistory {
 public:
  static constexpr std::size_t kMemoryLimit = std::size_t{64} << 20;

  // Closes a step left open, then opens one on images[index].
  void Begin(const std::vector<IconImage>& images, std::int16_t index);
  // Ends the open step, if any, keeping it when its image changed.
  void Close(const std::vector<IconImage>& images);

  // Closes the open step, then takes back the latest step (or does the latest step taken back
  // again) in the image it came from; that image's index, or -1 when there is nothing to do.
  std::int16_t Undo(std::vector<IconImage>& images);
  std::int16_t Redo(std::vector<IconImage>& images);

  // The image at index leaves the list: its steps go, and those of the images behind it
  // follow them down one place. Call it after closing the open step.
  void DropImage(std::int16_t index);
  void Clear();

  // What the last Undo or Redo put back: the image and the rectangle of cells, or the whole
  // image when more than cells changed.
  struct Change {
    std::int16_t image = -1;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool whole = false;
  };
  const std::optional<Change>& LastChange() const { return lastChange_; }

  // Defined after Step: clang sizes the lists only where Step is complete.
  std::size_t UndoCount() const;
  std::size_t RedoCount() const;
  // Bytes the steps keep, both lists.
  std::size_t Memory() const { return memory_; }

  struct Step;

 private:
  void Keep(Step step);
  void TrimToLimit();
  void NoteChange(const Step& step);
  // Takes the latest step of from, puts back into its image what it holds for one way (after:
  // Redo) and keeps it on to; the image's index, or -1 when from is empty or the image is gone
  // (the step then dropped).
  template <typename From, typename To>
  std::int16_t PutBack(From& from, To& to, std::vector<IconImage>& images, bool after);

  struct Open {
    std::int16_t index;
    IconImage before;
  };
  std::optional<Open> open_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
  std::size_t memory_ = 0;
  std::optional<Change> lastChange_;
};

// A step: which image, and what to put back in it either way.
struct EditHistory::Step {
  std::int16_t image = -1;
  // The rectangle of cells that changed (columns left .. left + width - 1, rows likewise),
  // cut to each grid, and their values before and after: Pixels, then Mask, then Alpha.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::int32_t> before;
  std::vector<std::int32_t> after;
  // The image's fields beside its grids (empty grids here), when they changed.
  std::optional<IconImage> fieldsBefore;
  std::optional<IconImage> fieldsAfter;
  // The whole image, when its grids changed size.
  std::optional<IconImage> wholeBefore;
  std::optional<IconImage> wholeAfter;

  std::size_t Bytes() const;
};

inline std::size_t EditHistory::UndoCount() const { return undo_.size(); }
inline std::size_t EditHistory::RedoCount() const { return redo_.size(); }

}  // namespace brixel
