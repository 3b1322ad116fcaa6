#pragma once

#include <QDialog>
#include <vector>

#include "ColourReduction.h"
#include "IconSet.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace brixel {

class SizeDepthChecks;

// "New Icon from Picture": which sizes and depths a new document made from a picture holds
// (the set Windows picks from ticked at first), how its colours are reduced, and whether it is
// an icon or a cursor with a hot spot given once in the picture's pixels.
class FrmNewFromPicture : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

  // The picture's name and size as the user knows them.
  FrmNewFromPicture(const QString& name, int width, int height, QWidget* owner = nullptr);

  std::vector<IconSetEntry> Images() const;
  ReductionChoice Reduction() const;
  bool Cursor() const;
  // In the picture's pixels.
  SquarePoint HotSpot() const;

 private:
  void Confirm();
  void TypeChanged();

  SizeDepthChecks* checks_;
  QCheckBox* chkDither_;
  QCheckBox* chkOwnPalette_;
  QComboBox* cboType_;
  QSpinBox* spnHotX_;
  QSpinBox* spnHotY_;
};

}  // namespace brixel
