#pragma once

#include <cstdint>
#include <vector>

namespace brixel {

// A row-major grid of 32-bit values addressed by column x and row y (row 0 at the top).
class Grid {
 public:
  Grid() = default;
  Grid(int columns, int rows, std::int32_t fill = 0)
      : columns_(columns), rows_(rows),
        cells_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), fill) {}

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  bool Contains(long long x, long long y) const {
    return x >= 0 && y >= 0 && x < columns_ && y < rows_;
  }
  std::int32_t& At(int x, int y) { return cells_[Index(x, y)]; }
  std::int32_t At(int x, int y) const { return cells_[Index(x, y)]; }
  // The Columns() cells of row y, for loops over whole rows: a pointer kept in a local is not
  // reloaded after every store, as the grid's own fields would be.
  std::int32_t* Row(int y) { return cells_.data() + Index(0, y); }
  const std::int32_t* Row(int y) const { return cells_.data() + Index(0, y); }

  friend bool operator==(const Grid&, const Grid&) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(x);
  }

  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::int32_t> cells_;
};

}  // namespace brixel
