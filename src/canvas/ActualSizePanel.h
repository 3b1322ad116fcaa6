#pragma once

#include <QGroupBox>

namespace brixel {

class GridView;

// The current image at its real size and at twice it, over the checkerboard, beside the
// grid: how the icon will look. Follows the grid's picture cell by cell as the user paints.
class ActualSizePanel final : public QGroupBox {
  Q_OBJECT

 public:
  ActualSizePanel(const GridView& grid, QWidget* parent = nullptr);
};

}  // namespace brixel
