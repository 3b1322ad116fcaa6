#include "UndoStore.h"

#include <algorithm>
#include <utility>

namespace brixel {

void UndoStore::Push(const IconImage& image, std::int16_t imageIndex) {
  if (count_ >= kSlots - 1) {
    for (int i = 1; i < kSlots; ++i) slots_[i - 1] = std::move(slots_[i]);
    count_ = kSlots - 1;
  } else {
    ++count_;
  }
  slots_[count_] = Snapshot{image, imageIndex};
}

std::optional<UndoStore::Snapshot> UndoStore::Pop() {
  if (count_ == 0) count_ = 1;
  std::optional<Snapshot> snapshot = slots_[count_];
  --count_;
  return snapshot;
}

void UndoStore::DropImage(std::int16_t imageIndex) {
  // Slots 1 .. count can still be restored, and slot 1 also once the store is exhausted.
  // Whatever lies above them is overwritten before it could be read, and slot 0 is never read.
  const int live = std::max<int>(count_, 1);
  int kept = 1;
  int keptBelowCount = 0;
  for (int slot = 1; slot <= live; ++slot) {
    std::optional<Snapshot>& s = slots_[slot];
    if (!s || s->imageIndex == imageIndex) continue;
    if (s->imageIndex > imageIndex) --s->imageIndex;
    if (slot <= count_) ++keptBelowCount;
    if (kept != slot) slots_[kept] = std::move(s);
    ++kept;
  }
  for (int slot = kept; slot < kSlots; ++slot) slots_[slot].reset();
  slots_[0].reset();
  count_ = static_cast<std::int16_t>(keptBelowCount);
}

void UndoStore::Clear() {
  for (auto& slot : slots_) slot.reset();
  count_ = 0;
}

}  // namespace brixel
