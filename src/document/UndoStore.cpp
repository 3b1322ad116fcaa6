#include "UndoStore.h"

#include <utility>

namespace brixel {

void UndoStore::Push(const IconImage& image) {
  if (count_ >= kSlots - 1) {
    for (int i = 1; i < kSlots; ++i) slots_[i - 1] = std::move(slots_[i]);
    count_ = kSlots - 1;
  } else {
    ++count_;
  }
  slots_[count_] = image;
}

std::optional<IconImage> UndoStore::Pop() {
  if (count_ == 0) count_ = 1;
  std::optional<IconImage> snapshot = slots_[count_];
  --count_;
  return snapshot;
}

}  // namespace brixel
