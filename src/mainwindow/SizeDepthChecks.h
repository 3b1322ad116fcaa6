#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "IconSet.h"

class QCheckBox;

namespace brixel {

// A table of tick boxes, a row per size and a column per depth, for making several images at
// once. Each box is named "Chk<size>x<depth>" (Chk16x32: 16 x 16 at 32 bits).
class SizeDepthChecks : public QWidget {
  Q_OBJECT

 public:
  // depths pairs each bit depth with its column's caption.
  SizeDepthChecks(std::vector<int> sizes, std::vector<std::pair<int, QString>> depths,
                  QWidget* parent = nullptr);

  // Ticks exactly the given images.
  void SetChecked(const std::vector<IconSetEntry>& images);
  // The ticked images, smallest size first, each size's depths in column order.
  std::vector<IconSetEntry> Checked() const;

 signals:
  void Changed();

 private:
  QCheckBox* Box(int size, int bitDepth) const;

  std::vector<int> sizes_;
  std::vector<std::pair<int, QString>> depths_;
  std::vector<QCheckBox*> boxes_;  // row by row
};

}  // namespace brixel
