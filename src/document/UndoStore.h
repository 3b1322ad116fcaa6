#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "IconImage.h"

namespace brixel {

// Nine restorable snapshots in slots 1 .. 9 (slot 1 the oldest). Slot 0 only receives the
// snapshot pushed out when the store is full; it is never restored. Each snapshot remembers
// the index of the image it was taken from, so undo puts it back where it came from.
class UndoStore {
 public:
  static constexpr int kSlots = 10;

  struct Snapshot {
    IconImage image;
    std::int16_t imageIndex = -1;
  };

  void Push(const IconImage& image, std::int16_t imageIndex);

  // The snapshot to restore now, or nothing when no snapshot was ever taken. Steps back one
  // slot; once the store is exhausted, the oldest kept snapshot comes back each time.
  std::optional<Snapshot> Pop();

  // The image at imageIndex left the list: its snapshots go, and those of the images behind
  // it follow them down one place.
  void DropImage(std::int16_t imageIndex);

  void Clear();

  std::int16_t UndoCount() const { return count_; }

 private:
  std::array<std::optional<Snapshot>, kSlots> slots_;
  std::int16_t count_ = 0;
};

}  // namespace brixel
