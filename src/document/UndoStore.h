#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "IconImage.h"

namespace brixel {

// Nine restorable snapshots in slots 1 .. 9 (slot 1 the oldest). Slot 0 only receives the
// snapshot pushed out when the store is full; it is never restored.
class UndoStore {
 public:
  static constexpr int kSlots = 10;

  void Push(const IconImage& image);

  // The snapshot to restore now, or nothing when no snapshot was ever taken. Steps back one
  // slot; once the store is exhausted, the oldest kept snapshot comes back each time.
  std::optional<IconImage> Pop();

  std::int16_t UndoCount() const { return count_; }

 private:
  std::array<std::optional<IconImage>, kSlots> slots_;
  std::int16_t count_ = 0;
};

}  // namespace brixel
