#pragma once

#include <QGroupBox>
#include <QPixmap>
#include <array>

class QLabel;

namespace brixel {

class PictureBox;

// The "Mouse Functions" frame (Frame1): for the left, middle and right mouse button, the
// picture of the drawing tool it carries (PctTool1, PctTool4, PctTool2) and, in the row headed
// "Drawing Color" (Label6), the swatch of its drawing colour (PctCol1, PctCol4, PctCol2). The
// swatches start in the button-face colour.
class MouseFunctionsPanel : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 36;

  explicit MouseFunctionsPanel(QWidget* parent = nullptr);

  // Button codes: 1 left, 2 right, 4 middle; other codes give nullptr or are ignored.
  void SetToolPicture(int buttonCode, const QPixmap& picture);
  QLabel* ToolPicture(int buttonCode) const;
  PictureBox* Swatch(int buttonCode) const;

 private:
  static bool IsButtonCode(int code) { return code == 1 || code == 2 || code == 4; }

  std::array<QLabel*, 5> tools_{};         // by button code
  std::array<PictureBox*, 5> swatches_{};  // by button code
};

}  // namespace brixel
