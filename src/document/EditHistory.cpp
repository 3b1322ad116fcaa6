#include "EditHistory.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace brixel {
namespace {

// Everything of an image but its three grids. Kept in step with IconImage's fields.
IconImage FieldsOf(const IconImage& image) {
  IconImage fields;
  fields.Palette = image.Palette;
  fields.Width = image.Width;
  fields.DibHeight = image.DibHeight;
  fields.BitDepth = image.BitDepth;
  fields.xHotSpot = image.xHotSpot;
  fields.yHotSpot = image.yHotSpot;
  fields.StoredAsPng = image.StoredAsPng;
  fields.ReadFrom = image.ReadFrom;
  fields.Kept = image.Kept;
  return fields;
}

void PutFields(IconImage& image, const IconImage& fields) {
  image.Palette = fields.Palette;
  image.Width = fields.Width;
  image.DibHeight = fields.DibHeight;
  image.BitDepth = fields.BitDepth;
  image.xHotSpot = fields.xHotSpot;
  image.yHotSpot = fields.yHotSpot;
  image.StoredAsPng = fields.StoredAsPng;
  image.ReadFrom = fields.ReadFrom;
  image.Kept = fields.Kept;
}

bool SameSize(const Grid& a, const Grid& b) { return a.Columns() == b.Columns() && a.Rows() == b.Rows(); }

std::size_t GridBytes(const Grid& grid) {
  return static_cast<std::size_t>(grid.Columns()) * static_cast<std::size_t>(grid.Rows()) *
         sizeof(std::int32_t);
}

std::size_t ImageBytes(const IconImage& image) {
  return sizeof(IconImage) + GridBytes(image.Pixels) + GridBytes(image.Mask) +
         GridBytes(image.Alpha) + image.Palette.size() * sizeof(Colour);
}

struct Box {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool Empty() const { return right < left || bottom < top; }
  void Add(int l, int t, int r, int b) {
    if (Empty()) {
      *this = {l, t, r, b};
      return;
    }
    left = std::min(left, l);
    top = std::min(top, t);
    right = std::max(right, r);
    bottom = std::max(bottom, b);
  }
};

// Grows box around the cells where two grids of one size differ.
void AddChanges(const Grid& before, const Grid& after, Box& box) {
  const int columns = before.Columns();
  const std::size_t rowBytes = static_cast<std::size_t>(columns) * sizeof(std::int32_t);
  for (int y = 0; y < before.Rows(); ++y) {
    const std::int32_t* was = before.Row(y);
    const std::int32_t* is = after.Row(y);
    if (std::memcmp(was, is, rowBytes) == 0) continue;
    int first = 0;
    while (was[first] == is[first]) ++first;
    int last = columns - 1;
    while (was[last] == is[last]) --last;
    box.Add(first, y, last, y);
  }
}

// Calls visit(cell) for every cell of the box that the grid has, row by row.
template <class AnyGrid, class Visit>
void ForEachCell(AnyGrid& grid, const EditHistory::Step& step, Visit&& visit) {
  const int right = std::min(step.left + step.width, grid.Columns());
  const int bottom = std::min(step.top + step.height, grid.Rows());
  for (int y = step.top; y < bottom; ++y) {
    auto* row = grid.Row(y);
    for (int x = step.left; x < right; ++x) visit(row[x]);
  }
}

void CopyOut(const Grid& grid, const EditHistory::Step& step, std::vector<std::int32_t>& to) {
  ForEachCell(grid, step, [&](std::int32_t cell) { to.push_back(cell); });
}

// Puts one side of a step back into the image.
void Apply(IconImage& image, const EditHistory::Step& step, bool forward) {
  const std::optional<IconImage>& whole = forward ? step.wholeAfter : step.wholeBefore;
  if (whole) {
    image = *whole;
    return;
  }
  const std::vector<std::int32_t>& values = forward ? step.after : step.before;
  std::size_t at = 0;
  for (Grid* grid : {&image.Pixels, &image.Mask, &image.Alpha}) {
    ForEachCell(*grid, step, [&](std::int32_t& cell) {
      if (at < values.size()) cell = values[at++];
    });
  }
  const std::optional<IconImage>& fields = forward ? step.fieldsAfter : step.fieldsBefore;
  if (fields) PutFields(image, *fields);
}

bool Holds(const std::vector<IconImage>& images, std::int16_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < images.size();
}

}  // namespace

std::size_t EditHistory::Step::Bytes() const {
  std::size_t bytes = sizeof(Step) + (before.size() + after.size()) * sizeof(std::int32_t);
  for (const auto* image : {&fieldsBefore, &fieldsAfter, &wholeBefore, &wholeAfter}) {
    if (*image) bytes += ImageBytes(**image);
  }
  return bytes;
}

void EditHistory::Begin(const std::vector<IconImage>& images, std::int16_t index) {
  Close(images);
  if (Holds(images, index)) open_ = Open{index, images[static_cast<std::size_t>(index)]};
}

void EditHistory::Close(const std::vector<IconImage>& images) {
  if (!open_) return;
  Open open = std::move(*open_);
  open_.reset();
  if (!Holds(images, open.index)) return;
  const IconImage& now = images[static_cast<std::size_t>(open.index)];

  Step step;
  step.image = open.index;
  const IconImage& was = open.before;
  if (!SameSize(was.Pixels, now.Pixels) || !SameSize(was.Mask, now.Mask) ||
      !SameSize(was.Alpha, now.Alpha)) {
    step.wholeBefore = std::move(open.before);
    step.wholeAfter = now;
    Keep(std::move(step));
    return;
  }
  Box box;
  AddChanges(was.Pixels, now.Pixels, box);
  AddChanges(was.Mask, now.Mask, box);
  AddChanges(was.Alpha, now.Alpha, box);
  if (!box.Empty()) {
    step.left = box.left;
    step.top = box.top;
    step.width = box.right - box.left + 1;
    step.height = box.bottom - box.top + 1;
    for (const Grid* grid : {&was.Pixels, &was.Mask, &was.Alpha}) CopyOut(*grid, step, step.before);
    for (const Grid* grid : {&now.Pixels, &now.Mask, &now.Alpha}) CopyOut(*grid, step, step.after);
  }
  IconImage fieldsBefore = FieldsOf(was);
  IconImage fieldsAfter = FieldsOf(now);
  if (!(fieldsBefore == fieldsAfter)) {
    step.fieldsBefore = std::move(fieldsBefore);
    step.fieldsAfter = std::move(fieldsAfter);
  }
  // A step that changed nothing (one grid comparison tells, above) is not kept.
  if (box.Empty() && !step.fieldsBefore) return;
  Keep(std::move(step));
}

void EditHistory::Keep(Step step) {
  for (const Step& dropped : redo_) memory_ -= dropped.Bytes();
  redo_.clear();
  memory_ += step.Bytes();
  undo_.push_back(std::move(step));
  TrimToLimit();
}

void EditHistory::TrimToLimit() {
  while (memory_ > kMemoryLimit && undo_.size() > 1) {
    memory_ -= undo_.front().Bytes();
    undo_.pop_front();
  }
}

void EditHistory::NoteChange(const Step& step) {
  lastChange_ = Change{step.image, step.left, step.top, step.width, step.height,
                       step.wholeBefore.has_value() || step.fieldsBefore.has_value()};
}

template <typename From, typename To>
std::int16_t EditHistory::PutBack(From& from, To& to, std::vector<IconImage>& images, bool after) {
  Close(images);
  lastChange_.reset();
  if (from.empty()) return -1;
  Step step = std::move(from.back());
  from.pop_back();
  if (!Holds(images, step.image)) {
    memory_ -= step.Bytes();
    return -1;
  }
  Apply(images[static_cast<std::size_t>(step.image)], step, after);
  NoteChange(step);
  to.push_back(std::move(step));
  return to.back().image;
}

std::int16_t EditHistory::Undo(std::vector<IconImage>& images) { return PutBack(undo_, redo_, images, false); }

std::int16_t EditHistory::Redo(std::vector<IconImage>& images) { return PutBack(redo_, undo_, images, true); }

void EditHistory::DropImage(std::int16_t index) {
  if (open_) {
    if (open_->index == index) open_.reset();
    else if (open_->index > index) --open_->index;
  }
  const auto follow = [&](auto& steps) {
    for (auto it = steps.begin(); it != steps.end();) {
      if (it->image == index) {
        memory_ -= it->Bytes();
        it = steps.erase(it);
        continue;
      }
      if (it->image > index) --it->image;
      ++it;
    }
  };
  follow(undo_);
  follow(redo_);
}

void EditHistory::Clear() {
  open_.reset();
  lastChange_.reset();
  undo_.clear();
  redo_.clear();
  memory_ = 0;
}

}  // namespace brixel
